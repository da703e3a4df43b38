#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/CodePresets.h"
#include "core/SimParams.h"

namespace mtd {

// The configuration as a settings dialog shows it: one text per field, as the user typed it.
// Every front-end (the window programs' dialogs, the browser page) edits these and hands them
// to validateSettings, so that all of them refuse the same values with the same words.
struct SettingsForm {
  std::string p;           // channel bit-error probability
  std::string kst;         // seed of the noise generator
  std::string nbl;         // block length
  std::string maxBlock;    // trial blocks in one Run
  std::string ndn;         // checks on each information bit
  std::string ddn;         // taps the animation marks
  std::string taps;        // kfp[1] onwards, separated by commas or blanks
  std::string iterations;  // ktrh[0]
  std::string thresholds;  // ktrh[1] onwards, separated by commas or blanks
};

enum class SettingsField { P, Kst, Nbl, MaxBlock, Ndn, Ddn, Taps, Iterations, Thresholds };
inline constexpr int SETTINGS_FIELD_COUNT = 9;

// The field's label in the dialogs, naming the init.txt key it edits.
std::string_view settingsFieldLabel(SettingsField field);
// The form's text of one field.
std::string& settingsFieldText(SettingsForm& form, SettingsField field);
const std::string& settingsFieldText(const SettingsForm& form, SettingsField field);

// Why a form was refused: the field at fault and a sentence that starts with its label.
struct SettingsProblem {
  SettingsField field = SettingsField::P;
  std::string message;
};

// The form of a loaded configuration (its values as init.txt gives them).
SettingsForm settingsFormOf(const SimParams& params);

// The configuration the form describes, or the first field that breaks a limit. The limits are
// the loader's (core/Configuration.cpp refuses the same files), plus the ones a teacher expects
// of the dialog: p is a probability, a Run has at least one trial, and the block is not
// silently lengthened to reach the marked taps.
std::variant<SimParams, SettingsProblem> validateSettings(const SettingsForm& form);

// Puts the preset's code (checks, marked taps, taps, iterations, thresholds) into the form.
void applyCodePreset(SettingsForm& form, const CodePreset& preset);
// The place in CODE_PRESETS of the preset whose code the form has, or -1.
int codePresetOf(const SettingsForm& form);

// init.txt for the configuration, with a comment on each line; loading it gives the same
// values back.
std::string configurationText(const SimParams& params);

}  // namespace mtd
