#include "core/SettingsForm.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/Configuration.h"

namespace mtd {

namespace {

constexpr int TAP_COUNT = 24;        // kfp[1] to kfp[24]: the file carries 25 numbers
constexpr int THRESHOLD_COUNT = 11;  // ktrh[1] to ktrh[11]: the file carries 12
constexpr std::int32_t MAX_DDN = KFP_SIZE - 1;

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

SettingsProblem problem(SettingsField field, const std::string& what) {
  return {field, std::string(settingsFieldLabel(field)) + ": " + what};
}

std::string quoted(std::string_view text) {
  std::string result(1, '"');
  result.append(text);
  result.push_back('"');
  return result;
}

// A whole number of 32 bits, the text and nothing else.
std::optional<std::int32_t> parseInteger(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return {};
  return value;
}

struct IntegerOutcome {
  std::optional<std::int32_t> value;
  std::optional<SettingsProblem> problem;
};

IntegerOutcome integerIn(const SettingsForm& form, SettingsField field, std::int64_t lowest,
                         std::int64_t highest) {
  const std::string& text = settingsFieldText(form, field);
  const auto value = parseInteger(text);
  if (!value) {
    return {{},
            problem(field, quoted(trimmed(text)) + " is not a whole number from " +
                               std::to_string(lowest) + " to " + std::to_string(highest))};
  }
  if (*value < lowest || *value > highest) {
    return {{},
            problem(field, std::to_string(*value) + " is outside " + std::to_string(lowest) +
                               " to " + std::to_string(highest))};
  }
  return {value, {}};
}

// Numbers separated by commas and/or blanks: at most `capacity` of them.
std::variant<std::vector<std::int32_t>, SettingsProblem> parseList(const SettingsForm& form,
                                                                   SettingsField field,
                                                                   int capacity) {
  std::vector<std::int32_t> values;
  std::string_view rest = settingsFieldText(form, field);
  while (!trimmed(rest).empty()) {
    rest = trimmed(rest);
    const auto end = rest.find_first_of(", \t");
    const std::string_view item = rest.substr(0, end);
    const auto value = parseInteger(item);
    if (!value) {
      return problem(field, quoted(item) + " (number " + std::to_string(values.size() + 1) +
                                ") is not a whole number");
    }
    values.push_back(*value);
    if (static_cast<int>(values.size()) > capacity) {
      return problem(field, "more than " + std::to_string(capacity) + " numbers");
    }
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
    rest = trimmed(rest);
    if (!rest.empty() && rest.front() == ',') {
      rest.remove_prefix(1);
      if (trimmed(rest).empty() || trimmed(rest).front() == ',') {
        return problem(field, "a number is missing after comma " + std::to_string(values.size()));
      }
    }
  }
  return values;
}

// A decimal number and nothing else: strtof, as the loader reads p, but without the hexadecimal
// and named forms it also takes. (Floating-point from_chars is missing from some standard
// libraries the page's build uses.)
std::optional<float> decimalNumber(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789+-.eE") != std::string_view::npos) {
    return std::nullopt;
  }
  const std::string copy(text);
  char* end = nullptr;
  const float value = std::strtof(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<SettingsProblem> readProbability(const SettingsForm& form, SimParams& params) {
  const std::string_view text = trimmed(form.p);
  const std::optional<float> number = decimalNumber(text);
  const float value = number.value_or(0.0f);
  if (!number) {
    return problem(SettingsField::P, quoted(text) + " is not a number such as 0.06");
  }
  if (value < 0.0f || value > 1.0f) {
    return problem(SettingsField::P, form.p + " is not a probability from 0 to 1");
  }
  params.p = value;
  return std::nullopt;
}

std::optional<SettingsProblem> readScalars(const SettingsForm& form, SimParams& params) {
  constexpr std::int64_t INT32_LOWEST = INT32_MIN;
  constexpr std::int64_t INT32_HIGHEST = INT32_MAX;
  struct Scalar {
    SettingsField field;
    std::int64_t lowest;
    std::int64_t highest;
    std::int32_t& target;
  };
  const Scalar scalars[] = {
      {SettingsField::Kst, INT32_LOWEST, INT32_HIGHEST, params.kst},
      {SettingsField::Nbl, 1, BLOCK_CAPACITY, params.nbl},
      {SettingsField::MaxBlock, 1, INT32_HIGHEST, params.maxBlock},
      {SettingsField::Ndn, 1, INT32_HIGHEST, params.ndn},
      {SettingsField::Ddn, 0, MAX_DDN, params.kfp[0]},
      {SettingsField::Iterations, 0, MAX_ITERATIONS, params.ktrh[0]},
  };
  for (const Scalar& scalar : scalars) {
    const IntegerOutcome outcome = integerIn(form, scalar.field, scalar.lowest, scalar.highest);
    if (outcome.problem) return outcome.problem;
    scalar.target = *outcome.value;
  }
  return std::nullopt;
}

template <std::size_t N>
std::optional<SettingsProblem> readList(const SettingsForm& form, SettingsField field, int capacity,
                                        std::array<std::int32_t, N>& target) {
  auto parsed = parseList(form, field, capacity);
  if (auto* refused = std::get_if<SettingsProblem>(&parsed)) return *refused;
  const auto& values = std::get<std::vector<std::int32_t>>(parsed);
  for (std::size_t i = 0; i < values.size(); ++i) target[i + 1] = values[i];
  return std::nullopt;
}

// Every tap the code uses and every tap the animation marks lies in the block. The loader
// checks them against a block lengthened to the last marked tap; the dialog keeps the length
// the user typed, so a tap past it is refused instead.
std::optional<SettingsProblem> checkTaps(const SimParams& params) {
  const std::int32_t usedNdn = params.ndn > MAX_NDN_USED ? MAX_NDN_USED : params.ndn;
  const std::int32_t last = std::max(usedNdn - 1, params.kfp[0]);
  for (std::int32_t j = 1; j <= last; ++j) {
    const std::int32_t tap = params.kfp[j];
    if (tap >= 0 && tap <= params.nbl) continue;
    std::ostringstream s;
    s << "kfp[" << j << "]=" << tap << " is outside 0 to the block length " << params.nbl;
    if (j > TAP_COUNT) s << " (only " << TAP_COUNT << " taps can be given)";
    return problem(SettingsField::Taps, s.str());
  }
  return std::nullopt;
}

std::string listText(const std::int32_t* values, int count, const char* separator) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += separator;
    text += std::to_string(values[i]);
  }
  return text;
}

// The shortest text that reads back as the same single-precision value.
std::string probabilityText(float p) {
  char buffer[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(p));
    if (std::strtof(buffer, nullptr) == p) break;
  }
  return buffer;
}

}  // namespace

std::string_view settingsFieldLabel(SettingsField field) {
  switch (field) {
    case SettingsField::P:
      return "Error probability (p)";
    case SettingsField::Kst:
      return "Random start (kst)";
    case SettingsField::Nbl:
      return "Block length (nbl)";
    case SettingsField::MaxBlock:
      return "Trial blocks (maxBlock)";
    case SettingsField::Ndn:
      return "Checks per bit (ndn)";
    case SettingsField::Ddn:
      return "Marked taps (ddn)";
    case SettingsField::Taps:
      return "Taps (kfp)";
    case SettingsField::Iterations:
      return "Iterations (ktrh[0])";
    case SettingsField::Thresholds:
      return "Thresholds (ktrh)";
  }
  return "";
}

std::string& settingsFieldText(SettingsForm& form, SettingsField field) {
  switch (field) {
    case SettingsField::P:
      return form.p;
    case SettingsField::Kst:
      return form.kst;
    case SettingsField::Nbl:
      return form.nbl;
    case SettingsField::MaxBlock:
      return form.maxBlock;
    case SettingsField::Ndn:
      return form.ndn;
    case SettingsField::Ddn:
      return form.ddn;
    case SettingsField::Taps:
      return form.taps;
    case SettingsField::Iterations:
      return form.iterations;
    case SettingsField::Thresholds:
      return form.thresholds;
  }
  return form.p;
}

const std::string& settingsFieldText(const SettingsForm& form, SettingsField field) {
  return settingsFieldText(const_cast<SettingsForm&>(form), field);
}

SettingsForm settingsFormOf(const SimParams& params) {
  SettingsForm form;
  form.p = probabilityText(params.p);
  form.kst = std::to_string(params.kst);
  form.nbl = std::to_string(params.nbl);
  form.maxBlock = std::to_string(params.maxBlock);
  form.ndn = std::to_string(params.ndn);
  form.ddn = std::to_string(params.kfp[0]);
  form.taps = listText(params.kfp.data() + 1, TAP_COUNT, ",");
  form.iterations = std::to_string(params.ktrh[0]);
  form.thresholds = listText(params.ktrh.data() + 1, THRESHOLD_COUNT, ",");
  return form;
}

std::variant<SimParams, SettingsProblem> validateSettings(const SettingsForm& form) {
  SimParams params;
  if (auto refused = readProbability(form, params)) return *refused;
  if (auto refused = readScalars(form, params)) return *refused;
  if (auto refused = readList(form, SettingsField::Taps, TAP_COUNT, params.kfp)) return *refused;
  if (auto refused = readList(form, SettingsField::Thresholds, THRESHOLD_COUNT, params.ktrh)) {
    return *refused;
  }
  if (auto refused = checkTaps(params)) return *refused;
  // The loader's own verdict, so that no accepted form ever writes a file it would refuse.
  if (auto breach = findLimitBreach(params, 0)) return problem(SettingsField::Taps, *breach);
  return params;
}

void applyCodePreset(SettingsForm& form, const CodePreset& preset) {
  form.ndn = std::to_string(preset.ndn);
  form.ddn = std::to_string(preset.ddn);
  form.taps = preset.taps;
  form.iterations = std::to_string(preset.iterations);
  form.thresholds = preset.thresholds;
}

int codePresetOf(const SettingsForm& form) {
  for (std::size_t i = 0; i < CODE_PRESETS.size(); ++i) {
    SettingsForm withPreset = form;
    applyCodePreset(withPreset, CODE_PRESETS[i]);
    if (withPreset.ndn == trimmed(form.ndn) && withPreset.ddn == trimmed(form.ddn) &&
        withPreset.taps == trimmed(form.taps) &&
        withPreset.iterations == trimmed(form.iterations) &&
        withPreset.thresholds == trimmed(form.thresholds)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string configurationText(const SimParams& params) {
  std::ostringstream s;
  s << "nbl=" << params.nbl << "   block length K: information bits per block\n"
    << "kst=" << params.kst << "   seed of the noise generator, shown as RAND\n"
    << "p=" << probabilityText(params.p) << "   channel bit-error probability, shown as P\n"
    << "ndn=" << params.ndn << " checks on each information bit (this word is skipped)\n"
    << "kfp={" << listText(params.kfp.data(), TAP_COUNT + 1, ",") << "}   ddn, then tap offsets\n"
    << "ktrh={" << listText(params.ktrh.data(), THRESHOLD_COUNT + 1, ",")
    << "}   iterations, then each iteration's threshold offset\n"
    << "maxBlock=" << params.maxBlock << "   trial blocks in one Run\n"
    << "ddn=" << params.kfp[0] << "   taps the animation marks; D=ddn+1\n"
    << "check\n"
    << "Written by the Settings dialog of mtd-demo; the file it replaced is init.txt.bak.\n"
    << "Only the lines above \"check\" are read (see examples/init.txt for each line).\n";
  return s.str();
}

}  // namespace mtd
