// Speed of mtd-sim record on the default first block at 800x640 and 20 steps a frame: drawing
// the frames alone, and drawing them into a GIF.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "cli/record/BlockLocator.h"
#include "cli/record/GifWriter.h"
#include "cli/record/RasterFrameSource.h"
#include "cli/record/Recording.h"
#include "platform/raster/RasterGraphics.h"

namespace {

using namespace mtd::cli::record;

// Takes the frames and drops them.
class DroppingSink final : public FrameSink {
 public:
  bool addFrame(const Frame& frame, std::int64_t) override {
    benchmark::DoNotOptimize(frame.pixels.data());
    return true;
  }
  bool finish() override { return true; }
  const std::string& error() const override { return error_; }

 private:
  std::string error_;
};

FramePlan firstBlock() {
  const LocatedBlock located =
      locateBlock(mtd::ConfigurationFile{}, {BlockChoice::By::BlockNumber, 1});
  return FramePlan{*located.plan, Phase::Noise, Phase::Statistics, 20, 25};
}

template <typename MakeSink>
void recordFirstBlock(benchmark::State& state, MakeSink makeSink) {
  const FramePlan plan = firstBlock();
  const mtd::ScreenSize screen{800, 640};
  std::int64_t frames = 0;
  for (auto _ : state) {
    mtd::RasterGraphics graphics(screen, screen);
    RasterFrameSource window(graphics.window());
    auto sink = makeSink();
    const std::atomic<bool> stop{false};
    frames +=
        recordBlock(graphics, window, screen, "/nonexistent-mtd-directory", plan, *sink, stop, {})
            .frames;
    sink->finish();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_RecordFirstBlockDrawing(benchmark::State& state) {
  recordFirstBlock(state, [] { return std::make_unique<DroppingSink>(); });
}
BENCHMARK(BM_RecordFirstBlockDrawing)->Unit(benchmark::kMillisecond);

void BM_RecordFirstBlockGif(benchmark::State& state) {
  std::FILE* devNull = std::fopen("/dev/null", "wb");
  recordFirstBlock(state, [devNull] { return std::make_unique<GifWriter>(devNull, 25, true); });
  std::fclose(devNull);
}
BENCHMARK(BM_RecordFirstBlockGif)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
