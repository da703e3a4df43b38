// The teaching controls used together as a lecture would: Settings follows Run through holds,
// steps and resets, and a failure set up in the dialog is shown with Show every block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/DialogHost.h"
#include "tests/control/ProgramHarness.h"

namespace mtd::testing {
namespace {

// The built-in code with a chosen p: at 0.06 the decoder corrects, at 0.08 it fails.
std::string builtInCode(const std::string& p, int maxBlock) {
  return "nbl=1000\nkst=7\np=" + p +
         "\nndn=11 checks\n"
         "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,"
         "824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=" +
         std::to_string(maxBlock) + "\nddn=22\ncheck\n";
}

// A user who, shown the settings, types in a new p and presses OK.
class TypesP : public DialogHost {
 public:
  explicit TypesP(std::string p) : p_(std::move(p)) {}
  void showColourLegend() override {}
  void showMessage(std::string_view, std::string_view) override {}
  void editSettings(const SettingsForm& form, const SettingsAcceptor& accept) override {
    SettingsForm edited = form;
    edited.p = p_;
    const std::optional<SettingsRefusal> refusal = accept(edited);
    EXPECT_FALSE(refusal.has_value()) << refusal->message;
    ++opened;
  }
  int opened = 0;

 private:
  std::string p_;
};

bool anyTextContains(ProgramHarness& h, const std::string& part) {
  std::string joined;
  for (const std::string& text : h.ws().windowTexts()) joined.append(text).append(" ");
  return joined.find(part) != std::string::npos;
}

struct ItemStates {
  bool run, settings, step;
  friend bool operator==(const ItemStates&, const ItemStates&) = default;
};

ItemStates items(ProgramHarness& h) {
  return {h.ws().menuItemEnabled(CMD_RUN), h.ws().menuItemEnabled(CMD_SETTINGS),
          h.ws().menuItemEnabled(CMD_STEP)};
}

TEST(TeachingControlsTogether, SettingsFollowsRunThroughAHoldAStepAndAReset) {
  ProgramHarness h;
  TypesP dialogs("0.05");
  h.program().setDialogHost(dialogs);
  h.startUp();
  std::vector<ItemStates> seen{items(h)};
  h.postRunAtFullSpeed();
  h.whenDecodeStep(3, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting([&] {
    seen.push_back(items(h));
    h.ws().postCharacter('s');
  });
  h.ws().whenWaiting([&] {
    seen.push_back(items(h));
    // Held, the run is still in progress: the dialog must not open, a Reset ends the run.
    h.ws().postMenu(CMD_SETTINGS);
    h.ws().postFunctionKey(2);
  });
  h.ws().whenMainLoopIdle([&] {
    seen.push_back(items(h));
    h.ws().postMenu(CMD_SETTINGS);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  const ItemStates ready{true, true, false};
  const ItemStates held{false, false, true};
  EXPECT_EQ(seen, (std::vector<ItemStates>{ready, held, held, ready}));
  EXPECT_EQ(h.ws().refusedCommands(), std::vector<int>{CMD_SETTINGS});
  EXPECT_EQ(dialogs.opened, 1) << "once the Reset made Run available again";
  EXPECT_FLOAT_EQ(h.program().simulation().params.p, 0.05f);
}

// A teacher sets p above the decoding threshold in the dialog: the next Run says that no block
// met the selection rule, and with Show every block on it animates the failures, the first
// with the figures the silent decoding of that configuration gives (83 information and 68
// check errors, as mtd-sim --trial 0 reports).
TEST(TeachingControlsTogether, AFailureSetUpInSettingsIsExplainedThenShownWithShowEveryBlock) {
  constexpr int TRIALS = 2;
  ProgramHarness h(builtInCode("0.06", TRIALS));
  h.keepEvents(false);
  TypesP dialogs("0.08");
  h.program().setDialogHost(dialogs);
  h.startUp();
  h.ws().postMenu(CMD_SETTINGS);
  h.postRunAtFullSpeed();
  bool explained = false;
  h.ws().whenMainLoopIdle([&] {
    EXPECT_EQ(h.program().runController().blocksShown(), 0);
    explained = anyTextContains(h, "NO BLOCK SHOWN: NONE OF THE 2 TRIAL BLOCKS MET THE");
    EXPECT_EQ(items(h), (ItemStates{true, true, false}));
    h.ws().postMenu(CMD_SHOW_EVERY);
    h.postRunAtFullSpeed();
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(dialogs.opened, 1);
  EXPECT_TRUE(explained);
  EXPECT_TRUE(h.ws().menuItemChecked(CMD_SHOW_EVERY));
  EXPECT_EQ(h.program().runController().blocksShown(), TRIALS);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), TRIALS);
  EXPECT_EQ(h.textCount("INFORMATION BLOCK LENGTH=1000, INF ERRORS=83, CHECK ERRORS=68"), 1);
  EXPECT_EQ(items(h), (ItemStates{true, true, false}));
}

}  // namespace
}  // namespace mtd::testing
