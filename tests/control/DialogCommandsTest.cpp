// Settings, Colours and About through a scripted dialog host: when Settings may open, what its
// OK writes and loads, what it refuses, and what About says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "ProgramHarness.h"
#include "ProjectVersion.h"
#include "control/DialogHost.h"

namespace mtd::testing {
namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A dialog host that plays the user: it edits the form it is shown and presses OK once.
class ScriptedDialogs : public DialogHost {
 public:
  std::function<void(SettingsForm&)> edit = [](SettingsForm&) {};

  void showColourLegend() override { ++legendsShown; }
  void showMessage(std::string_view title, std::string_view text) override {
    messages.emplace_back(std::string(title) + "|" + std::string(text));
  }
  void editSettings(const SettingsForm& form, const SettingsAcceptor& accept) override {
    shownForms.push_back(form);
    SettingsForm edited = form;
    edit(edited);
    refusals.push_back(accept(edited));
  }

  int legendsShown = 0;
  std::vector<std::string> messages;
  std::vector<SettingsForm> shownForms;
  std::vector<std::optional<SettingsRefusal>> refusals;
};

class DialogCommandsTest : public ::testing::Test {
 protected:
  DialogCommandsTest() { h.program().setDialogHost(dialogs); }
  ProgramHarness h;
  ScriptedDialogs dialogs;
};

TEST_F(DialogCommandsTest, SettingsIsGrayedWhileARunAnimatesAndTheHelpItemsAreNot) {
  h.startUp();
  EXPECT_TRUE(h.ws().menuItemEnabled(CMD_SETTINGS));
  bool checked = false;
  h.whenDecodeStep(1, [&] {
    checked = true;
    EXPECT_FALSE(h.ws().menuItemEnabled(CMD_SETTINGS));
    EXPECT_TRUE(h.ws().menuItemEnabled(CMD_COLOURS));
    EXPECT_TRUE(h.ws().menuItemEnabled(CMD_ABOUT));
    h.ws().postMenu(CMD_SETTINGS);
    h.ws().postMenu(CMD_COLOURS);
  });
  h.postRunAtFullSpeed();
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_TRUE(checked);
  EXPECT_EQ(h.ws().refusedCommands(), std::vector<int>{CMD_SETTINGS});
  EXPECT_TRUE(dialogs.shownForms.empty());
  EXPECT_EQ(dialogs.legendsShown, 1) << "the legend opens beside a running animation";
  EXPECT_TRUE(h.ws().menuItemEnabled(CMD_SETTINGS)) << "enabled again when the run ends";
}

TEST_F(DialogCommandsTest, OkWritesInitTxtKeepsTheOldOneAndTheNextRunUsesIt) {
  const std::string before = readFile(h.dir().path() / "init.txt");
  h.startUp();
  dialogs.edit = [](SettingsForm& form) {
    form.kst = "12345";
    form.nbl = "60";
  };
  h.ws().postMenu(CMD_SETTINGS);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  ASSERT_EQ(dialogs.shownForms.size(), 1u);
  // The dialog opened with the file's values.
  EXPECT_EQ(dialogs.shownForms[0].nbl, std::to_string(SMALL_NBL));
  EXPECT_EQ(dialogs.shownForms[0].kst, "7");
  EXPECT_EQ(dialogs.shownForms[0].taps.substr(0, 9), "0,3,8,14,");
  ASSERT_EQ(dialogs.refusals.size(), 1u);
  EXPECT_FALSE(dialogs.refusals[0].has_value()) << dialogs.refusals[0]->message;
  EXPECT_EQ(readFile(h.dir().path() / "init.txt.bak"), before);
  // Loaded at once: the empty grid is drawn again, for the new block length.
  EXPECT_EQ(h.program().simulation().params.kst, 12345);
  EXPECT_EQ(h.program().simulation().params.nbl, 60);
  EXPECT_EQ(h.gridsDrawn(), 3);
}

TEST_F(DialogCommandsTest, ABadValueIsRefusedNamingTheFieldAndNothingIsWritten) {
  const std::string before = readFile(h.dir().path() / "init.txt");
  h.startUp();
  dialogs.edit = [](SettingsForm& form) { form.p = "1.5"; };
  h.ws().postMenu(CMD_SETTINGS);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  ASSERT_EQ(dialogs.refusals.size(), 1u);
  ASSERT_TRUE(dialogs.refusals[0].has_value());
  EXPECT_EQ(dialogs.refusals[0]->field, SettingsField::P);
  EXPECT_EQ(dialogs.refusals[0]->message,
            "Error probability (p): 1.5 is not a probability from 0 to 1");
  EXPECT_EQ(readFile(h.dir().path() / "init.txt"), before);
  EXPECT_FALSE(std::filesystem::exists(h.dir().path() / "init.txt.bak"));
  EXPECT_EQ(h.gridsDrawn(), 2) << "nothing reloaded";
}

TEST_F(DialogCommandsTest, AFileThatCannotBeWrittenIsAMessageWithNoField) {
  std::filesystem::remove(h.dir().path() / "init.txt");
  std::filesystem::create_directory(h.dir().path() / "init.txt");
  h.startUp();
  h.ws().postMenu(CMD_SETTINGS);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  ASSERT_EQ(dialogs.refusals.size(), 1u);
  ASSERT_TRUE(dialogs.refusals[0].has_value());
  EXPECT_FALSE(dialogs.refusals[0]->field.has_value());
  EXPECT_NE(dialogs.refusals[0]->message.find("init.txt was not written"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(h.dir().path() / "init.txt"));
}

TEST_F(DialogCommandsTest, AboutShowsTheVersionAndTheLicenceOfThePackages) {
  h.startUp();
  h.ws().postMenu(CMD_ABOUT);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const std::string& about = dialogs.messages[0];
  EXPECT_EQ(about.rfind(std::string("About mtd-demo|mtd-demo ") + PROJECT_VERSION_TEXT + "\n", 0),
            0u)
      << about;
  const char* source = std::getenv("MTD_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "MTD_SOURCE_DIR is not set: packaging/copyright unread";
  const std::string copyright = readFile(std::filesystem::path(source) / "packaging" / "copyright");
  const std::string licenceFile = readFile(std::filesystem::path(source) / "LICENSE");
  // The packages name the licence as Debian does (Expat); the LICENSE file and About say MIT.
  ASSERT_NE(copyright.find("License: Expat"), std::string::npos) << "packaging/copyright changed";
  ASSERT_EQ(licenceFile.rfind("MIT License", 0), 0u) << "LICENSE changed";
  const std::string licence = "Released under the MIT licence";
  EXPECT_NE(about.find(licence), std::string::npos);
}

TEST_F(DialogCommandsTest, WithoutAHostTheCommandsDoNothing) {
  ProgramHarness bare;
  bare.startUp();
  bare.ws().postMenu(CMD_SETTINGS);
  bare.ws().postMenu(CMD_COLOURS);
  bare.ws().postMenu(CMD_ABOUT);
  bare.closeWhenIdle();
  EXPECT_EQ(bare.ws().runMainLoop(), 0);
  EXPECT_EQ(bare.ws().deliveredCommands(),
            (std::vector<int>{CMD_SETTINGS, CMD_COLOURS, CMD_ABOUT}));
  EXPECT_FALSE(std::filesystem::exists(bare.dir().path() / "init.txt.bak"));
}

}  // namespace
}  // namespace mtd::testing
