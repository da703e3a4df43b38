// The settings dialogs' one validation: each field's limits, the field named in the message,
// agreement with the loader, and the text written loading back to the same values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/CodePresets.h"
#include "core/Configuration.h"
#include "core/SettingsForm.h"
#include "core/Simulation.h"

namespace mtd {
namespace {

SettingsForm defaultForm() {
  Simulation sim;
  loadConfigurationText(sim, std::nullopt);
  return settingsFormOf(sim.params);
}

SettingsForm with(SettingsField field, const std::string& text, SettingsForm form = defaultForm()) {
  settingsFieldText(form, field) = text;
  return form;
}

const SettingsProblem* refusal(const std::variant<SimParams, SettingsProblem>& outcome) {
  return std::get_if<SettingsProblem>(&outcome);
}

void expectSameConfiguration(const SimParams& loaded, const SimParams& written) {
  EXPECT_EQ(loaded.nbl, written.nbl);
  EXPECT_EQ(loaded.kst, written.kst);
  EXPECT_EQ(loaded.p, written.p);
  // The loader keeps at most 11 checks, as a Run uses no more.
  EXPECT_EQ(loaded.ndn, std::min(written.ndn, MAX_NDN_USED));
  EXPECT_EQ(loaded.kfp, written.kfp);
  EXPECT_EQ(loaded.ktrh, written.ktrh);
  EXPECT_EQ(loaded.maxBlock, written.maxBlock);
}

TEST(SettingsForm, TheDefaultsShowAsTheExampleFileWritesThem) {
  const SettingsForm form = defaultForm();
  EXPECT_EQ(form.p, "0.06");
  EXPECT_EQ(form.kst, "7");
  EXPECT_EQ(form.nbl, "1000");
  EXPECT_EQ(form.maxBlock, "2000");
  EXPECT_EQ(form.ndn, "11");
  EXPECT_EQ(form.ddn, "22");
  EXPECT_EQ(form.taps, DEFAULT_TAPS);
  EXPECT_EQ(form.iterations, "10");
  EXPECT_EQ(form.thresholds, "2,1,0,0,0,0,0,0,0,0,0");
}

TEST(SettingsForm, TheDefaultsRoundTripThroughTheLoaderToTheSameRun) {
  const auto outcome = validateSettings(defaultForm());
  ASSERT_EQ(refusal(outcome), nullptr) << refusal(outcome)->message;
  Simulation sim;
  const LoadResult loaded =
      loadConfigurationText(sim, configurationText(std::get<SimParams>(outcome)));
  EXPECT_TRUE(loaded.accepted);
  EXPECT_EQ(sim.params.noiseThreshold, 59);
  EXPECT_EQ(sim.params.codeDistance, 23);
  expectSameConfiguration(sim.params, std::get<SimParams>(outcome));
}

const std::string TOO_MANY_TAPS = std::string(DEFAULT_TAPS) + ",5";

struct Limit {
  SettingsField field;
  const char* text;
  bool accepted;
  const char* words;  // part of the message when refused
};

void PrintTo(const Limit& limit, std::ostream* out) {
  *out << settingsFieldLabel(limit.field) << " = \"" << limit.text << "\"";
}

class FieldLimits : public ::testing::TestWithParam<Limit> {};

TEST_P(FieldLimits, AreTheLoadersAndTheRefusalNamesTheField) {
  const Limit& limit = GetParam();
  const auto outcome = validateSettings(with(limit.field, limit.text));
  const SettingsProblem* problem = refusal(outcome);
  if (limit.accepted) {
    EXPECT_EQ(problem, nullptr) << problem->message;
    return;
  }
  ASSERT_NE(problem, nullptr) << limit.text << " was accepted";
  EXPECT_EQ(problem->field, limit.field);
  EXPECT_EQ(problem->message.rfind(std::string(settingsFieldLabel(limit.field)) + ": ", 0), 0u)
      << problem->message;
  EXPECT_NE(problem->message.find(limit.words), std::string::npos) << problem->message;
}

INSTANTIATE_TEST_SUITE_P(
    EachField, FieldLimits,
    ::testing::Values(
        Limit{SettingsField::P, "0", true, ""}, Limit{SettingsField::P, "1", true, ""},
        Limit{SettingsField::P, " 0.08 ", true, ""},
        Limit{SettingsField::P, "1.01", false, "not a probability"},
        Limit{SettingsField::P, "-0.01", false, "not a probability"},
        Limit{SettingsField::P, "0,06", false, "\"0,06\" is not a number"},
        Limit{SettingsField::P, "nan", false, "not a number"},
        // Decimal numbers only: strtof's hexadecimal and named forms are refused too.
        Limit{SettingsField::P, "6e-2", true, ""},
        Limit{SettingsField::P, "0x1p-4", false, "not a number"},
        Limit{SettingsField::P, "inf", false, "not a number"},
        Limit{SettingsField::P, "0.0.6", false, "not a number"},
        Limit{SettingsField::P, "", false, "not a number"},
        Limit{SettingsField::Kst, "-2147483648", true, ""},
        Limit{SettingsField::Kst, "2147483648", false, "not a whole number"},
        Limit{SettingsField::Kst, "7x", false, "\"7x\""},
        Limit{SettingsField::Nbl, "2200", true, ""}, Limit{SettingsField::Nbl, "922", true, ""},
        Limit{SettingsField::Nbl, "2201", false, "outside 1 to 2200"},
        Limit{SettingsField::Nbl, "0", false, "outside 1 to 2200"},
        Limit{SettingsField::MaxBlock, "1", true, ""},
        Limit{SettingsField::MaxBlock, "2147483647", true, ""},
        Limit{SettingsField::MaxBlock, "0", false, "outside 1 to 2147483647"},
        Limit{SettingsField::Ndn, "1", true, ""}, Limit{SettingsField::Ndn, "40", true, ""},
        Limit{SettingsField::Ndn, "0", false, "outside 1 to"},
        Limit{SettingsField::Ddn, "0", true, ""}, Limit{SettingsField::Ddn, "31", true, ""},
        Limit{SettingsField::Ddn, "32", false, "outside 0 to 31"},
        Limit{SettingsField::Ddn, "-1", false, "outside 0 to 31"},
        Limit{SettingsField::Iterations, "0", true, ""},
        Limit{SettingsField::Iterations, "10", true, ""},
        Limit{SettingsField::Iterations, "11", false, "outside 0 to 10"},
        Limit{SettingsField::Thresholds, "9 8 7", true, ""},
        Limit{SettingsField::Thresholds, "-3,2,1,0,0,0,0,0,0,0,0", true, ""},
        Limit{SettingsField::Thresholds, "1,2,3,4,5,6,7,8,9,10,11,12", false,
              "more than 11 numbers"},
        Limit{SettingsField::Thresholds, "2,,1", false, "missing after comma 1"},
        Limit{SettingsField::Taps, TOO_MANY_TAPS.c_str(), false, "more than 24 numbers"},
        Limit{SettingsField::Taps, "0,24,75,x", false, "\"x\" (number 4)"}));

TEST(SettingsForm, ATapOutsideTheBlockIsRefusedWhereTheLoaderWouldRefuseIt) {
  // The code's taps kfp[1]..kfp[ndn-1] and the marked ones kfp[1]..kfp[ddn] lie in 0..nbl.
  auto shortBlock = validateSettings(with(SettingsField::Nbl, "855"));
  ASSERT_NE(refusal(shortBlock), nullptr);
  EXPECT_EQ(refusal(shortBlock)->field, SettingsField::Taps);
  EXPECT_NE(refusal(shortBlock)->message.find("kfp[22]=856 is outside 0 to the block length 855"),
            std::string::npos)
      << refusal(shortBlock)->message;

  // Fewer marked taps: the block may be as short as the last tap the code uses, kfp[10]=496.
  SettingsForm fewer = with(SettingsField::Ddn, "10");
  EXPECT_EQ(refusal(validateSettings(with(SettingsField::Nbl, "496", fewer))), nullptr);
  EXPECT_NE(refusal(validateSettings(with(SettingsField::Nbl, "495", fewer))), nullptr);

  // A tap neither used nor marked is not checked, as the loader does not check it.
  SettingsForm unused = with(SettingsField::Taps, "0,24,75,110,151,183,257,411,426,496,5000");
  unused = with(SettingsField::Ddn, "10", unused);
  EXPECT_EQ(refusal(validateSettings(unused)), nullptr);
  EXPECT_NE(refusal(validateSettings(with(SettingsField::Ddn, "11", unused))), nullptr);
}

TEST(SettingsForm, FewerTapsOrThresholdsThanTheFileHoldsAreZeros) {
  SettingsForm form = with(SettingsField::Taps, "1 2 3");
  form = with(SettingsField::Ddn, "3", form);
  form = with(SettingsField::Ndn, "4", form);
  form = with(SettingsField::Thresholds, "4", form);
  const auto outcome = validateSettings(form);
  ASSERT_EQ(refusal(outcome), nullptr) << refusal(outcome)->message;
  const SimParams& params = std::get<SimParams>(outcome);
  EXPECT_EQ(params.kfp[3], 3);
  EXPECT_EQ(params.kfp[4], 0);
  EXPECT_EQ(params.ktrh[1], 4);
  EXPECT_EQ(params.ktrh[2], 0);
}

// Random forms inside and around the limits: whatever the dialog accepts, the loader accepts
// and reads back exactly; p takes any single-precision value of [0, 1].
TEST(SettingsForm, EveryAcceptedFormLoadsBackToTheSameValues) {
  std::mt19937 random(20261209);
  auto between = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  int accepted = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    SettingsForm form = defaultForm();
    const float p = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(p));
    form.p = text;
    form.kst = std::to_string(static_cast<std::int32_t>(random()));
    form.nbl = std::to_string(between(1, 2300));
    form.ndn = std::to_string(between(0, 13));
    form.ddn = std::to_string(between(0, 24));
    form.maxBlock = std::to_string(between(0, 5000));
    form.iterations = std::to_string(between(0, 11));
    form.taps.clear();
    for (int j = 0; j < 24; ++j) form.taps += std::to_string(between(-1, 1200)) + " ";
    form.thresholds = std::to_string(between(-5, 9)) + "," + std::to_string(between(-5, 9));
    const auto outcome = validateSettings(form);
    if (refusal(outcome)) continue;
    ++accepted;
    const SimParams& written = std::get<SimParams>(outcome);
    Simulation sim;
    const LoadResult loaded = loadConfigurationText(sim, configurationText(written));
    ASSERT_TRUE(loaded.accepted) << loaded.rejection << "\n" << configurationText(written);
    expectSameConfiguration(sim.params, written);
    ASSERT_EQ(sim.params.p, p);
  }
  // Enough of both kinds to mean something.
  EXPECT_GT(accepted, 20);
  EXPECT_LT(accepted, 1900);
}

TEST(CodePresets, APresetFillsTheCodeFieldsAndIsRecognisedAfterwards) {
  SettingsForm form = defaultForm();
  EXPECT_EQ(codePresetOf(form), 0);
  applyCodePreset(form, CODE_PRESETS[1]);
  EXPECT_EQ(form.iterations, "8");
  EXPECT_EQ(form.p, "0.06") << "a preset changes only the code";
  EXPECT_EQ(codePresetOf(form), 1);
  form.thresholds = "3,2,1";  // the same numbers, shorter: no longer the preset's text
  EXPECT_EQ(codePresetOf(form), -1);
  EXPECT_EQ(refusal(validateSettings(form)), nullptr);
}

TEST(CodePresets, AreTheCodesOfTheShippedExamples) {
  const char* source = std::getenv("MTD_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "MTD_SOURCE_DIR is not set: the examples are not found";
  for (const CodePreset& preset : CODE_PRESETS) {
    const std::filesystem::path directory =
        std::filesystem::path(source) / "examples" / std::string(preset.example);
    Simulation sim;
    const LoadResult loaded = loadConfiguration(sim, directory);
    ASSERT_TRUE(loaded.accepted) << directory;
    SettingsForm form = settingsFormOf(sim.params);
    EXPECT_EQ(form.ndn, std::to_string(preset.ndn)) << preset.name;
    EXPECT_EQ(form.ddn, std::to_string(preset.ddn)) << preset.name;
    EXPECT_EQ(form.taps, preset.taps) << preset.name;
    EXPECT_EQ(form.iterations, std::to_string(preset.iterations)) << preset.name;
    EXPECT_EQ(form.thresholds, preset.thresholds) << preset.name;
  }
}

}  // namespace
}  // namespace mtd
