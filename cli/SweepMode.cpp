#include "cli/SweepMode.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "cli/FailureKeeper.h"
#include "cli/FrameTrace.h"
#include "cli/Interrupt.h"
#include "cli/LaneChoice.h"
#include "cli/PendingFile.h"
#include "cli/ProgressLine.h"
#include "cli/SweepCsv.h"
#include "cli/SweepPlot.h"
#include "cli/SweepTable.h"
#include "sweep/BatchTally.h"
#include "sweep/LanePaths.h"
#include "sweep/PointRunner.h"
#include "ui/TextFormat.h"

namespace mtd::cli {

namespace {

constexpr int EXIT_WRITE_FAILED = 1;
constexpr int EXIT_REFUSED = 2;
constexpr double CODE_RATE = 0.5;  // nbl information bits and nbl check bits per frame

void warn(const std::string& message) { std::fprintf(stderr, "mtd-sim: %s\n", message.c_str()); }

int complain(const std::string& message, int status) {
  warn(message);
  return status;
}

// The configured p is single precision; the sweep takes the decimal it was written as.
double configuredProbability(const SimParams& params) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", static_cast<double>(params.p));
  return std::strtod(text, nullptr);
}

sweep::PointSetup pointSetup(const sweep::SweepCode& code, const SweepOptions& options, double p,
                             std::size_t index) {
  sweep::PointSetup setup;
  setup.code = code;
  setup.noise =
      options.noise == SweepNoise::Demo ? sweep::NoiseKind::Demo : sweep::NoiseKind::Sound;
  setup.p = p;
  setup.seed = options.seed;
  setup.pointIndex = static_cast<std::uint32_t>(index);
  return setup;
}

SweepPoint sweepPoint(const sweep::PointSetup& setup, const sweep::BatchTally& total,
                      double seconds, bool complete) {
  SweepPoint point;
  point.p = setup.p;
  point.effectiveP = sweep::effectiveP(setup);
  point.frames = total.frames;
  point.frameErrors = total.frameErrors;
  point.infoBits = total.infoBits;
  point.channelInfoErrors = total.channelInfoErrors;
  point.decodedInfoErrors = total.decodedInfoErrors;
  point.iterations = total.iterations;
  point.seconds = seconds;
  point.complete = complete;
  return point;
}

// The files a sweep writes, made under temporary names before the work starts.
struct SweepOutputs {
  std::unique_ptr<PendingFile> csv;
  std::unique_ptr<PendingFile> plot;
  std::unique_ptr<PendingFile> failures;
};

bool openOutputs(const SweepOptions& options, SweepOutputs& outputs, std::string& error) {
  if (!options.plot.empty() && !plotterAvailable()) {
    error = "--plot " + options.plot.string() +
            ": gnuplot is not installed (Debian package gnuplot-nox)";
    return false;
  }
  if (!options.csv.empty() && !(outputs.csv = PendingFile::create("--csv", options.csv, error))) {
    return false;
  }
  if (!options.plot.empty() &&
      !(outputs.plot = PendingFile::create("--plot", options.plot, error))) {
    return false;
  }
  if (options.keepFailures && !(outputs.failures = PendingFile::create(
                                    "--keep-failures", options.keepFailures->file, error))) {
    return false;
  }
  return true;
}

std::string plotTitle(const SimParams& code, const SweepOptions& options) {
  return format("Multithreshold decoding: nbl=%d, ndn=%d, %d iterations, %s noise", code.nbl,
                code.ndn, code.ktrh[0], options.noise == SweepNoise::Demo ? "demo" : "sound");
}

// Renames the finished files onto their targets, drawing the plot first; false with a message
// printed when one cannot be written.
bool finishOutputs(SweepOutputs& outputs, const std::vector<SweepPoint>& points,
                   const SimParams& code, const SweepOptions& options) {
  std::string error;
  bool written = true;
  if (outputs.csv && !outputs.csv->commit(error)) {
    written = false;
    warn(error);
  }
  if (outputs.failures && !outputs.failures->commit(error)) {
    written = false;
    warn(error);
  }
  if (outputs.plot) {
    const std::string extension = options.plot.extension().string();
    const PlotRequest request{outputs.plot->temporaryPath(),
                              extension == ".svg" || extension == ".SVG", plotTitle(code, options),
                              CODE_RATE};
    if (!outputs.plot->close() || !drawPlot(points, request, error) ||
        !outputs.plot->commit(error)) {
      written = false;
      warn("--plot " + options.plot.string() + ": " + error);
    }
  }
  return written;
}

void writeLine(std::FILE* stream, const std::string& text) {
  if (stream == nullptr) return;
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
}

int traceFrameMode(const sweep::SweepCode& code, const SweepOptions& options) {
  const FrameReference& frame = *options.traceFrame;
  const auto point = static_cast<std::size_t>(frame.point);
  const double p = options.p.size() == 1 ? options.p[0] : options.p.at(point);
  std::fputs(frameTraceText(pointSetup(code, options, p, point), frame).c_str(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    return complain("cannot write the output", EXIT_WRITE_FAILED);
  }
  return 0;
}

}  // namespace

std::string configurationSource(const LoadResult& load, const std::filesystem::path& directory) {
  const std::string file = (directory / CONFIG_FILE_NAME).string();
  if (load.accepted) return file;
  if (load.fileFound) return "built-in defaults (" + file + " is not marked with \"check\")";
  return "built-in defaults (no " + file + ")";
}

int runSweep(const SimParams& params, const SweepOptions& given, const std::string& configuration,
             const PointRunner& runPoint) {
  SweepOptions options = given;
  if (options.p.empty()) options.p = {configuredProbability(params)};
  const sweep::SweepCode code(params);
  if (options.traceFrame) return traceFrameMode(code, options);

  std::string error;
  const std::optional<sweep::LanePath> lanes = laneChoice(error);
  if (!lanes) return complain(error, EXIT_REFUSED);
  SweepOutputs outputs;
  if (!openOutputs(options, outputs, error)) return complain(error, EXIT_REFUSED);
  writeLine(outputs.csv ? outputs.csv->stream() : nullptr, csvHeading());
  std::unique_ptr<FailureKeeper> failures;
  if (outputs.failures) {
    failures = std::make_unique<FailureKeeper>(options.keepFailures->perPoint);
    writeLine(outputs.failures->stream(), failures->heading());
  }

  const SweepFacts facts{params, options.p, sweep::BATCH_FRAMES, configuration,
                         sweep::lanePath(*lanes)};
  writeLine(stdout, sweepHeader(facts, options));
  catchInterrupt();
  const std::atomic<bool>& interrupted = interruptFlag();
  ProgressLine progress(stderr, isatty(STDERR_FILENO) != 0, options);
  const sweep::StopRule rule{options.frames, options.frameErrors, options.maxSeconds};

  std::vector<SweepPoint> done;
  for (std::size_t j = 0; j < options.p.size() && !interrupted.load(); ++j) {
    sweep::PointSetup setup = pointSetup(code, options, options.p[j], j);
    setup.lanes = *lanes;
    if (failures) failures->startPoint();
    const sweep::PointResult result =
        runPoint(setup, rule, options.threads, interrupted,
                 [&](const sweep::BatchTally& total, double seconds) {
                   if (failures) failures->observe(total);
                   progress.show(sweepPoint(setup, total, seconds, false));
                 });
    progress.erase();
    done.push_back(sweepPoint(setup, result.total, result.seconds, result.complete));
    writeLine(stdout, sweepRow(done.back()));
    writeLine(outputs.csv ? outputs.csv->stream() : nullptr, csvRow(done.back()));
    if (failures) {
      writeLine(outputs.failures->stream(),
                failures->collect(setup, options, result.total.frames, interrupted));
    }
  }

  bool written = finishOutputs(outputs, done, params, options);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    written = false;
    warn("cannot write the output");
  }
  if (!written) return EXIT_WRITE_FAILED;
  return interrupted.load() ? EXIT_INTERRUPTED : 0;
}

}  // namespace mtd::cli
