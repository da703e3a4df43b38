#include "cli/record/RecordCommand.h"

#include <cstdio>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/ConfigurationSnapshot.h"
#include "cli/LoadNotes.h"
#include "cli/record/BlockLocator.h"
#include "cli/record/GifWriter.h"
#include "cli/record/PngWriter.h"
#include "cli/record/RasterFrameSource.h"
#include "cli/record/RecordOptions.h"
#include "cli/record/RecordOutput.h"
#include "cli/record/RecordProgress.h"
#include "cli/record/Recording.h"
#include "cli/record/StopSignals.h"
#include "cli/record/VideoWriter.h"
#include "platform/raster/RasterGraphics.h"

namespace mtd::cli::record {

namespace {

constexpr int EXIT_WRITE_FAILED = 1;
constexpr int EXIT_REFUSED = 2;
constexpr int EXIT_STOPPED = 130;

int refuse(const std::string& message) {
  std::fprintf(stderr, "mtd-sim record: %s\n", message.c_str());
  return EXIT_REFUSED;
}

int failWrite(const std::string& message) {
  std::fprintf(stderr, "mtd-sim record: %s\n", message.c_str());
  return EXIT_WRITE_FAILED;
}

std::string_view formatName(OutputFormat format) {
  switch (format) {
    case OutputFormat::Gif:
      return "GIF";
    case OutputFormat::Mp4:
      return "MP4";
    case OutputFormat::Webm:
      return "WebM";
    case OutputFormat::Png:
      return "PNG";
  }
  return "";
}

std::unique_ptr<FrameSink> makeSink(const RecordOptions& options, RecordOutput& output,
                                    const std::filesystem::path& ffmpeg) {
  switch (options.format) {
    case OutputFormat::Gif:
      return std::make_unique<GifWriter>(output.stream(), options.fps, options.loop);
    case OutputFormat::Png:
      return std::make_unique<PngWriter>(output.stream(), options.frame);
    case OutputFormat::Mp4:
    case OutputFormat::Webm:
      break;
  }
  output.closeStream();
  return std::make_unique<VideoWriter>(
      ffmpeg, options.format == OutputFormat::Mp4 ? VideoFormat::Mp4 : VideoFormat::Webm,
      options.fps, output.writtenPath(), output.seekable());
}

// What the recording shows and how long it takes, once it is written.
void reportWritten(const RecordOptions& options, const FramePlan& plan, std::int64_t frames) {
  const double seconds = static_cast<double>(frames) / options.fps;
  if (options.format == OutputFormat::Png) {
    std::fprintf(stderr, "mtd-sim record: %s: frame %lld of block %d (trial %d)\n",
                 options.output.c_str(), static_cast<long long>(options.frame),
                 plan.block.blockNumber, plan.block.trial);
    return;
  }
  std::fprintf(
      stderr,
      "mtd-sim record: %s: %s, block %d (trial %d), %s to %s, %lld frames, %.1f s at %d fps\n",
      options.output.c_str(), std::string(formatName(options.format)).c_str(),
      plan.block.blockNumber, plan.block.trial, std::string(phaseName(plan.start)).c_str(),
      std::string(phaseName(plan.end)).c_str(), static_cast<long long>(frames), seconds,
      options.fps);
}

int record(const RecordOptions& options) {
  std::error_code error;
  if (!std::filesystem::is_directory(options.directory, error)) {
    const bool exists = std::filesystem::exists(options.directory, error);
    return refuse("-C " + options.directory.string() +
                  (exists ? ": not a directory" : ": no such directory"));
  }
  const ConfigurationSnapshot configuration(options.directory);
  Simulation sim;
  const LoadResult load = configuration.loadInto(sim);
  if (!load.rejection.empty()) {
    std::fprintf(stderr, "%s\n", load.rejection.c_str());
    return refuse("not recorded (the window program would take the defaults): correct or remove " +
                  (options.directory / CONFIG_FILE_NAME).string());
  }
  writeLoadNotes(load, stderr);

  std::filesystem::path ffmpeg;
  if (options.format == OutputFormat::Mp4 || options.format == OutputFormat::Webm) {
    const auto found = findFfmpeg();
    if (!found) {
      return refuse("OUTPUT " + options.output.string() +
                    ": a video is made by the ffmpeg program, which is not on PATH (on Debian: "
                    "apt-get install ffmpeg); a .gif needs no other program");
    }
    ffmpeg = *found;
  }

  const LocatedBlock located = locateBlock(configuration.file(), options.block);
  if (!located.plan) return refuse(located.error);
  const FramePlan plan{*located.plan, options.start, options.end, options.stepsPerFrame,
                       options.fps};
  const std::int64_t total = plannedFrames(plan);
  if (total == 0) {
    return refuse("--start " + std::string(phaseName(plan.start)) + " --end " +
                  std::string(phaseName(plan.end)) + ": block " +
                  std::to_string(plan.block.blockNumber) + " has no frames there");
  }
  if (options.format == OutputFormat::Png && options.frame >= total) {
    return refuse("--frame " + std::to_string(options.frame) + ": the recording has frames 0 to " +
                  std::to_string(total - 1));
  }

  std::string problem;
  const std::unique_ptr<RecordOutput> output = RecordOutput::open(options.output, problem);
  if (!output) return refuse(problem);
  catchStopSignals();
  const std::unique_ptr<FrameSink> sink = makeSink(options, *output, ffmpeg);

  const ScreenSize size{options.width, options.height};
  const ScreenSize client{options.clientWidth, options.clientHeight};
  RasterGraphics graphics(size, client);
  RasterFrameSource window(graphics.window());
  RecordProgress progress(stderr, options.format == OutputFormat::Png ? options.frame + 1 : total,
                          plan.block.blockNumber);
  const RecordingResult result = recordBlock(
      graphics, window, client, options.directory, plan, *sink, stopFlag(),
      [&progress](std::int64_t frames, std::int32_t block) { progress.show(frames, block); });
  progress.erase();

  const bool stopped = stopFlag().load() && !sink->complete() && result.frames < total;
  if (result.sinkFailed)
    return failWrite("OUTPUT " + options.output.string() + ": " + sink->error());
  if (stopped && (options.format == OutputFormat::Png || result.frames == 0)) {
    std::fprintf(stderr, "mtd-sim record: stopped before %s was recorded; nothing written\n",
                 options.format == OutputFormat::Png ? "the frame" : "any frame");
    return EXIT_STOPPED;
  }
  if (!sink->finish()) return failWrite("OUTPUT " + options.output.string() + ": " + sink->error());
  if (!output->commit(problem)) return failWrite(problem);
  if (stopped) {
    std::fprintf(stderr, "mtd-sim record: stopped; %s keeps the %lld frames recorded\n",
                 options.output.c_str(), static_cast<long long>(result.frames));
    return EXIT_STOPPED;
  }
  reportWritten(options, plan, result.frames);
  return 0;
}

}  // namespace

int runRecordCommand(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ParsedRecordOptions parsed = parseRecordOptions(arguments);
  if (!parsed.options) return refuse(parsed.error + " (mtd-sim record --help lists the options)");
  if (parsed.options->help) {
    std::fputs(parsed.options->helpText.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : EXIT_WRITE_FAILED;
  }
  return record(*parsed.options);
}

}  // namespace mtd::cli::record
