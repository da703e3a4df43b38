#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>

#include <array>
#include <memory>

#include "control/DialogHost.h"

namespace mtd {

// The settings dialog on FLTK: one input per field of the form, the code presets, OK and
// Cancel. Modal; OK hands the fields to the acceptor and shows its refusal in a message
// titled with the field at fault, then selects that field.
class SettingsDialog {
 public:
  SettingsDialog(const SettingsForm& form, const SettingsAcceptor& accept);
  // Shows the dialog and returns when it is closed.
  void run();

 private:
  static void okPressed(Fl_Widget*, void* self);
  static void cancelPressed(Fl_Widget*, void* self);
  static void presetPicked(Fl_Widget*, void* self);

  Fl_Input& input(SettingsField field) { return *inputs_[static_cast<int>(field)]; }
  SettingsForm form();
  void fill(const SettingsForm& form);
  void refuse(const SettingsRefusal& refusal);

  const SettingsAcceptor& accept_;
  Fl_Double_Window window_;
  std::array<std::unique_ptr<Fl_Input>, SETTINGS_FIELD_COUNT> inputs_;
  std::unique_ptr<Fl_Choice> presets_;
  std::unique_ptr<Fl_Return_Button> ok_;
  std::unique_ptr<Fl_Button> cancel_;
};

}  // namespace mtd
