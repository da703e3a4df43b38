// The frames of a recording, taken through the window program's own run control and display:
// every cell of sampled frames has the colour the display asked for, and the first and last
// frames hold the status texts the window shows at those moments.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "TeeGraphics.h"
#include "cli/record/BlockLocator.h"
#include "cli/record/RasterFrameSource.h"
#include "cli/record/Recording.h"
#include "ui/ScreenLayout.h"

namespace mtd::cli::record {
namespace {

using mtd::testing::TeeGraphics;

constexpr ScreenSize SCREEN{800, 640};
constexpr std::int32_t BLOCK_LENGTH = 1000;  // K of the defaults

// Takes each frame from the raster window and compares it, every `sampleEvery` frames, with
// the recording model of the same window.
class CheckedWindow final : public FrameSource {
 public:
  CheckedWindow(TeeGraphics& graphics, int sampleEvery)
      : graphics_(graphics),
        sampleEvery_(sampleEvery),
        scale_(makeScreenScale(SCREEN)),
        grid_(layoutGrid(scale_, SCREEN.width, SCREEN.height, BLOCK_LENGTH)) {}

  Frame frame() override {
    RasterSurface& raster = graphics_.raster.window();
    texts_.clear();
    const PixelCanvas* canvas = graphics_.model.windowSurface().canvas();
    for (const StandingText& text : canvas->texts()) texts_.push_back(text.text);
    if (first_.empty() && frames_ == 0) first_ = texts_;
    if (frames_ % sampleEvery_ == 0) compareCells(raster);
    ++frames_;
    return Frame{raster.pixels(), raster.stride(), raster.width(), raster.height()};
  }

  bool stands(const std::vector<std::string>& texts, const std::string& text) const {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  const std::vector<std::string>& firstTexts() const { return first_; }
  const std::vector<std::string>& lastTexts() const { return texts_; }
  int cellsCompared() const { return compared_; }
  const std::string& firstMismatch() const { return mismatch_; }
  Rgb modelCell(std::int32_t position, int row) {
    const CellRect r = cellRectOf(grid_, scale_, position, row);
    return graphics_.model.windowSurface()
        .cellColour(r.left, r.top, r.right, r.bottom)
        .value_or(Rgb{1, 2, 3});
  }

 private:
  void compareCells(RasterSurface& raster) {
    for (int row = 0; row < 3; ++row) {
      for (std::int32_t position = 0; position < BLOCK_LENGTH; ++position) {
        const CellRect r = cellRectOf(grid_, scale_, position, row);
        const Rgb expected = modelCell(position, row);
        const Rgb seen = raster.pixel((r.left + r.right - 1) / 2, (r.top + r.bottom - 1) / 2);
        ++compared_;
        if (seen != expected && mismatch_.empty()) {
          mismatch_ = "frame " + std::to_string(frames_) + " row " + std::to_string(row) +
                      " cell " + std::to_string(position);
        }
      }
    }
  }

  TeeGraphics& graphics_;
  int sampleEvery_;
  ScreenScale scale_;
  GridGeometry grid_;
  int frames_ = 0;
  int compared_ = 0;
  std::string mismatch_;
  std::vector<std::string> first_;
  std::vector<std::string> texts_;
};

class CountingSink final : public FrameSink {
 public:
  bool addFrame(const Frame& frame, std::int64_t periods) override {
    EXPECT_EQ(frame.width, SCREEN.width);
    EXPECT_EQ(frame.height, SCREEN.height);
    periods_ += periods;
    ++pictures_;
    if (onFrame) onFrame(pictures_);
    return true;
  }
  bool finish() override { return true; }
  const std::string& error() const override { return error_; }

  std::int64_t periods_ = 0;
  int pictures_ = 0;
  std::function<void(int)> onFrame;

 private:
  std::string error_;
};

FramePlan firstBlockPlan(Phase start, Phase end, int stepsPerFrame, int fps) {
  const LocatedBlock located = locateBlock(ConfigurationFile{}, {BlockChoice::By::BlockNumber, 1});
  EXPECT_TRUE(located.plan) << located.error;
  return FramePlan{located.plan.value_or(BlockPlan{}), start, end, stepsPerFrame, fps};
}

// A directory without init.txt: the built-in defaults.
const std::filesystem::path NO_CONFIGURATION = "/nonexistent-mtd-directory";

TEST(RecordedFrames, DecodingToStatisticsShowsTheStatusLinesAndEveryCellAsDrawn) {
  const FramePlan plan = firstBlockPlan(Phase::Decoding, Phase::Statistics, 50, 5);
  TeeGraphics graphics(SCREEN);
  CheckedWindow window(graphics, 5);
  CountingSink sink;
  const std::atomic<bool> stop{false};
  const RecordingResult result =
      recordBlock(graphics, window, SCREEN, NO_CONFIGURATION, plan, sink, stop, {});

  EXPECT_EQ(result.frames, plannedFrames(plan));
  EXPECT_EQ(sink.periods_, plannedFrames(plan));
  // Each wait is one picture held for its 25 frame periods.
  EXPECT_EQ(sink.pictures_, plannedFrames(plan) - 2 * (25 - 1));
  EXPECT_GT(window.cellsCompared(), 3 * BLOCK_LENGTH * 10);
  EXPECT_EQ(window.firstMismatch(), "");

  const auto& first = window.firstTexts();
  for (const char* text :
       {"RAND=7, P=0.06, CODE=1/2, K=1000, D=23", "NOISE WEIGHT=122, START DISTANCE=416",
        "BLOCK NUMBER = 1", "ITERATION NUMBER=1", "DIFFERENCE", "INFORMATION", "SYNDROME"}) {
    EXPECT_TRUE(window.stands(first, text)) << text;
  }
  const auto& last = window.lastTexts();
  for (const char* text : {"TOTAL STATISTIC:", "BLOCK STATISTIC:", "FINAL INFORMATION ERRORS=0",
                           "START SYNDROME WEIGHT=416", "BLOCK NUMBER = 1"}) {
    EXPECT_TRUE(window.stands(last, text)) << text;
  }
  EXPECT_FALSE(window.stands(last, "INFORMATION"));  // the statistics screen covers the rows
}

TEST(RecordedFrames, TheNoiseStartsOnTheEmptyGridWithoutStatusLines) {
  const FramePlan plan = firstBlockPlan(Phase::Noise, Phase::Noise, 100, 25);
  TeeGraphics graphics(SCREEN);
  CheckedWindow window(graphics, 1);
  CountingSink sink;
  bool firstChecked = false;
  sink.onFrame = [&](int picture) {
    if (picture != 1) return;
    // The first frame is taken after the first cell of the pass.
    const Rgb cell0 = window.modelCell(0, 1);
    EXPECT_TRUE(cell0 == (Rgb{0, 255, 255}) || cell0 == (Rgb{255, 0, 0}));
    EXPECT_EQ(window.modelCell(1, 1), (Rgb{0, 255, 0}));  // still empty
    EXPECT_EQ(window.modelCell(0, 2), (Rgb{128, 0, 128}));
    firstChecked = true;
  };
  const std::atomic<bool> stop{false};
  const RecordingResult result =
      recordBlock(graphics, window, SCREEN, NO_CONFIGURATION, plan, sink, stop, {});
  EXPECT_TRUE(firstChecked);
  EXPECT_EQ(result.frames, 21);  // steps 1, 101, ..., 1901 and the last, 2000
  EXPECT_EQ(window.firstMismatch(), "");
  std::vector<std::string> labels = window.firstTexts();
  std::sort(labels.begin(), labels.end());
  EXPECT_EQ(labels, (std::vector<std::string>{"DIFFERENCE", "INFORMATION", "SYNDROME"}));
  // At the last frame the whole SYNDROME row holds check noise: no purple cell is left.
  for (std::int32_t position = 0; position < BLOCK_LENGTH; ++position) {
    ASSERT_NE(window.modelCell(position, 2), (Rgb{128, 0, 128})) << position;
  }
}

TEST(RecordedFrames, TheStopFlagEndsTheRecordingAtTheNextStep) {
  const FramePlan plan = firstBlockPlan(Phase::Noise, Phase::Statistics, 10, 25);
  TeeGraphics graphics(SCREEN);
  CheckedWindow window(graphics, 1000);
  CountingSink sink;
  std::atomic<bool> stop{false};
  sink.onFrame = [&](int picture) {
    if (picture == 3) stop = true;
  };
  const RecordingResult result =
      recordBlock(graphics, window, SCREEN, NO_CONFIGURATION, plan, sink, stop, {});
  EXPECT_EQ(result.frames, 3);
  EXPECT_TRUE(result.stopped);
}

}  // namespace
}  // namespace mtd::cli::record

namespace mtd::cli::record {
namespace {

// Every frame's pixels, kept whole for comparison.
class KeepingSink final : public FrameSink {
 public:
  bool addFrame(const Frame& frame, std::int64_t periods) override {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < frame.height; ++y) {
      for (int x = 0; x < frame.width; ++x) pixels.push_back(frame.at(x, y));
    }
    frames.emplace_back(std::move(pixels), periods);
    return true;
  }
  bool finish() override { return true; }
  const std::string& error() const override { return error_; }

  std::vector<std::pair<std::vector<std::uint32_t>, std::int64_t>> frames;

 private:
  std::string error_;
};

TEST(RecordedFrames, SkippingTheDrawingOfEarlierBlocksChangesNoFrame) {
  // Block 4: blocks 1 and 2 are skipped, block 3 is drawn for the status lines it leaves.
  const LocatedBlock located = locateBlock(ConfigurationFile{}, {BlockChoice::By::BlockNumber, 4});
  ASSERT_TRUE(located.plan) << located.error;
  const FramePlan plan{*located.plan, Phase::Noise, Phase::Syndrome, 500, 25};
  const ScreenSize screen{320, 256};
  KeepingSink skipped;
  KeepingSink drawn;
  for (KeepingSink* sink : {&skipped, &drawn}) {
    RasterGraphics graphics(screen, screen);
    RasterFrameSource window(graphics.window());
    const std::atomic<bool> stop{false};
    recordBlock(graphics, window, screen, NO_CONFIGURATION, plan, *sink, stop, {}, sink == &drawn);
  }
  ASSERT_EQ(skipped.frames.size(), static_cast<std::size_t>(plannedFrames(plan)));
  ASSERT_EQ(skipped.frames.size(), drawn.frames.size());
  for (std::size_t i = 0; i < skipped.frames.size(); ++i) {
    EXPECT_TRUE(skipped.frames[i] == drawn.frames[i]) << "frame " << i;
  }
}

}  // namespace
}  // namespace mtd::cli::record
