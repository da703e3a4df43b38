#include "cli/sweep/SweepMode.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ProjectVersion.h"
#include "cli/Interrupt.h"
#include "cli/PendingFile.h"
#include "cli/Program.h"
#include "cli/Terminal.h"
#include "cli/sweep/FailureKeeper.h"
#include "cli/sweep/FrameSpread.h"
#include "cli/sweep/FrameTrace.h"
#include "cli/sweep/LaneChoice.h"
#include "cli/sweep/Plotter.h"
#include "cli/sweep/ProgressLine.h"
#include "cli/sweep/SweepCsv.h"
#include "cli/sweep/SweepJson.h"
#include "cli/sweep/SweepPlot.h"
#include "cli/sweep/SweepSettings.h"
#include "cli/sweep/SweepTable.h"
#include "core/TextFormat.h"
#include "sweep/BatchTally.h"
#include "sweep/LanePaths.h"
#include "sweep/PointRunner.h"

namespace mtd::cli {

namespace {

constexpr double CODE_RATE = 0.5;  // nbl information bits and nbl check bits per frame

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

sweep::PointSetup pointSetup(const sweep::SweepCode& code, const SweepOptions& options, double p) {
  sweep::PointSetup setup;
  setup.code = code;
  setup.noise =
      options.noise == SweepNoise::Demo ? sweep::NoiseKind::Demo : sweep::NoiseKind::Sound;
  setup.p = p;
  setup.seed = options.seed;
  setup.pointIndex = sweep::noiseKey(p);
  return setup;
}

SweepPoint sweepPoint(const std::string& config, const sweep::PointSetup& setup,
                      const sweep::BatchTally& total, double seconds, StopReason stop) {
  SweepPoint point;
  point.config = config;
  point.p = setup.p;
  point.effectiveP = sweep::effectiveP(setup);
  point.frames = total.frames;
  point.frameErrors = total.frameErrors;
  point.infoBits = total.infoBits;
  point.channelInfoErrors = total.channelInfoErrors;
  point.decodedInfoErrors = total.decodedInfoErrors;
  point.iterations = total.iterations;
  point.seconds = seconds;
  point.stop = stop;
  return point;
}

// The finished point, its BER interval from the frames themselves when the batches are few.
SweepPoint finishedPoint(const std::string& config, const sweep::PointSetup& setup,
                         const sweep::PointResult& result, StopReason stop) {
  SweepPoint point = sweepPoint(config, setup, result.total, result.seconds, stop);
  point.ferInterval = clopperPearson(result.total.frameErrors, result.total.frames);
  std::optional<double> frameSquares;
  if (result.total.batches < FEW_BATCHES && result.total.decodedInfoErrors > 0) {
    frameSquares = frameErrorSquares(setup, result.total.frames);
  }
  point.berInterval = berInterval(result.total, setup.code.nbl(), frameSquares);
  return point;
}

// The runner says only whether the point was cancelled; the counts say which rule ended it.
StopReason stopReason(const sweep::PointResult& result, const sweep::StopRule& rule) {
  if (!result.complete) return StopReason::Interrupted;
  if (result.total.frames >= rule.maxFrames) return StopReason::Frames;
  if (rule.maxFrameErrors > 0 && result.total.frameErrors >= rule.maxFrameErrors) {
    return StopReason::FrameErrors;
  }
  return StopReason::Time;
}

// Each code with its points: the --p list, or the p of its own init.txt.
bool curvesFor(const std::vector<LoadedCode>& codes, const SweepOptions& options,
               std::vector<SweepCurve>& curves, std::string& error) {
  const std::vector<std::string> names = curveNames(codes);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    std::vector<double> p = options.p;
    if (p.empty()) {
      const double configured = configuredProbability(codes[i].params);
      if (!(configured >= 0 && configured <= 1)) {
        error = codes[i].source + ": p=" + format("%g", configured) +
                " is no probability from 0 to 1 (or give --p)";
        return false;
      }
      p = {configured};
    }
    curves.push_back(SweepCurve{names[i], codes[i], std::move(p)});
  }
  return true;
}

// The files a sweep writes, made under temporary names before the work starts.
struct SweepOutputs {
  std::unique_ptr<PendingFile> csv;
  std::unique_ptr<PendingFile> json;
  std::unique_ptr<PendingFile> plot;
  std::unique_ptr<PendingFile> failures;
};

struct NamedOutput {
  const char* option;
  std::filesystem::path path;
};

std::vector<NamedOutput> outputList(const SweepOptions& options) {
  std::vector<NamedOutput> list;
  if (!options.csv.empty()) list.push_back({"--csv", options.csv});
  if (!options.json.empty()) list.push_back({"--json", options.json});
  if (!options.plot.file.empty()) list.push_back({"--plot", options.plot.file});
  if (options.keepFailures) list.push_back({"--keep-failures", options.keepFailures->file});
  return list;
}

// Two outputs into one file would leave only the one written last.
bool distinctOutputs(const SweepOptions& options, std::string& error) {
  const std::vector<NamedOutput> list = outputList(options);
  for (std::size_t i = 0; i < list.size(); ++i) {
    for (std::size_t j = i + 1; j < list.size(); ++j) {
      if (PendingFile::sameTarget(list[i].path, list[j].path)) {
        error = std::string(list[i].option) + " " + list[i].path.string() + " and " +
                list[j].option + " " + list[j].path.string() + " name the same file";
        return false;
      }
    }
  }
  return true;
}

bool openOutputs(const SweepOptions& options, SweepOutputs& outputs, std::string& error) {
  if (!distinctOutputs(options, error)) return false;
  if (!options.plot.file.empty() && !plotterAvailable()) {
    error = "--plot " + options.plot.file.string() + ": " + plotterMissingHint();
    return false;
  }
  if (!options.plot.file.empty() && options.plot.file == "-") {
    error = "--plot needs a file, not stdout";
    return false;
  }
  const auto open = [&](const char* option, const std::filesystem::path& path,
                        std::unique_ptr<PendingFile>& into) {
    return path.empty() || (into = PendingFile::create(option, path, error)) != nullptr;
  };
  return open("--csv", options.csv, outputs.csv) && open("--json", options.json, outputs.json) &&
         open("--plot", options.plot.file, outputs.plot) &&
         (!options.keepFailures ||
          open("--keep-failures", options.keepFailures->file, outputs.failures));
}

std::string plotTitle(const std::vector<SweepCurve>& curves, const SweepOptions& options) {
  const char* noise = options.noise == SweepNoise::Demo ? "demo" : "sound";
  if (curves.size() > 1) return format("Multithreshold decoding, %s noise", noise);
  const SimParams& code = curves.front().code.params;
  return format("Multithreshold decoding: nbl=%d, ndn=%d, %d iterations, %s noise", code.nbl,
                code.ndn, code.ktrh[0], noise);
}

// A write that failed on a closed pipe stops the sweep as SIGPIPE would, keeping the files.
void writeLine(std::FILE* stream, const std::string& text) {
  if (stream == nullptr) return;
  errno = 0;
  if (std::fputs(text.c_str(), stream) < 0 || std::fflush(stream) != 0) {
    if (writeFailedOnClosedPipe()) noteBrokenPipe();
  }
}

// Renames the finished files onto their targets, drawing the plot first; false with a message
// printed when one cannot be written.
bool finishOutputs(SweepOutputs& outputs, const SweepSettings& settings,
                   const std::vector<SweepPoint>& points, bool interrupted) {
  std::string error;
  bool written = true;
  const auto commit = [&](std::unique_ptr<PendingFile>& file) {
    if (file && !file->commit(error)) {
      written = false;
      warn(error);
    }
  };
  if (outputs.csv && interrupted) {
    writeLine(outputs.csv->stream(), "# interrupted: the points after the last row were not run\n");
  }
  commit(outputs.csv);
  if (outputs.json) writeLine(outputs.json->stream(), sweepJson(settings, points, interrupted));
  commit(outputs.json);
  commit(outputs.failures);
  if (outputs.plot) {
    const SweepOptions& options = settings.options;
    PlotRequest request;
    request.output = outputs.plot->temporaryPath();
    request.format = plotFormat(options.plot.file);
    request.title = plotTitle(settings.curves, options);
    request.codeRate = CODE_RATE;
    request.options = options.plot;
    if (!outputs.plot->close() || !drawPlot(points, request, error) ||
        !outputs.plot->commit(error)) {
      written = false;
      warn("--plot " + options.plot.file.string() + ": " + error);
    }
  }
  return written;
}

int traceFrameMode(const SweepCurve& curve, const SweepOptions& options) {
  const FrameReference& frame = *options.traceFrame;
  const auto point = static_cast<std::size_t>(frame.point);
  const double p = curve.p.size() == 1 ? curve.p[0] : curve.p.at(point);
  const sweep::SweepCode code(curve.code.params);
  std::fputs(frameTraceText(pointSetup(code, options, p), frame).c_str(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    return complain("cannot write the output", EXIT_WRITE_FAILED);
  }
  return 0;
}

}  // namespace

int runSweep(const std::vector<LoadedCode>& codes, const SweepOptions& options,
             const PointRunner& runPoint) {
  // First, so that a signal during the first milliseconds finds the temporary files removed.
  catchInterrupt();
  const std::atomic<bool>& interrupted = interruptFlag();
  SweepSettings settings{
      PROJECT_VERSION_TEXT, options.commandLine, {}, options, sweep::BATCH_FRAMES, {}};
  std::string error;
  if (!curvesFor(codes, options, settings.curves, error)) return complain(error, EXIT_REFUSED);
  if (options.traceFrame) {
    if (settings.curves.size() > 1) {
      return complain("--trace-frame traces a frame of one code: give -C once", EXIT_REFUSED);
    }
    return traceFrameMode(settings.curves.front(), options);
  }

  const std::optional<sweep::LanePath> lanes = laneChoice(error);
  if (!lanes) return complain(error, EXIT_REFUSED);
  const sweep::LanePathEntry& laneEntry = sweep::lanePath(*lanes);
  settings.lanes =
      std::string(laneEntry.name) + ", " + std::to_string(laneEntry.lanes) + " frames side by side";
  SweepOutputs outputs;
  if (!openOutputs(options, outputs, error)) return complain(error, EXIT_REFUSED);
  // With the CSV on stdout, the table would only garble it.
  std::FILE* table = outputs.csv && outputs.csv->stream() == stdout ? nullptr : stdout;
  const std::string settingsText = settingsComment(settings);
  writeLine(outputs.csv ? outputs.csv->stream() : nullptr, settingsText + csvHeading());
  std::unique_ptr<FailureKeeper> failures;
  if (outputs.failures) {
    failures = std::make_unique<FailureKeeper>(options.keepFailures->perPoint);
    writeLine(outputs.failures->stream(), failures->heading());
  }
  writeLine(table, settingsText + "#\n" + tableHeading());

  ProgressLine progress(stderr, isTerminal(stderr), options);
  const sweep::StopRule rule{options.frames, options.frameErrors, options.maxSeconds};
  std::vector<SweepPoint> done;
  for (const SweepCurve& curve : settings.curves) {
    if (interrupted.load()) break;
    if (settings.curves.size() > 1) writeLine(table, tableCurveLine(curve.name));
    const sweep::SweepCode code(curve.code.params);
    for (std::size_t j = 0; j < curve.p.size() && !interrupted.load(); ++j) {
      sweep::PointSetup setup = pointSetup(code, options, curve.p[j]);
      setup.lanes = *lanes;
      if (failures) failures->startPoint();
      const sweep::PointResult result = runPoint(
          setup, rule, options.threads, interrupted,
          [&](const sweep::BatchTally& total, double seconds) {
            if (failures) failures->observe(total);
            progress.show(sweepPoint(curve.name, setup, total, seconds, StopReason::Interrupted));
          });
      progress.erase();
      done.push_back(finishedPoint(curve.name, setup, result, stopReason(result, rule)));
      writeLine(table, sweepRow(done.back()));
      writeLine(outputs.csv ? outputs.csv->stream() : nullptr, csvRow(done.back()));
      if (failures) {
        const FailureContext context{curve.name, j, curve.code.directory};
        writeLine(outputs.failures->stream(),
                  failures->collect(setup, context, options, result.total.frames, interrupted));
      }
    }
  }

  const bool stopped = interrupted.load();
  bool written = finishOutputs(outputs, settings, done, stopped);
  if (table != nullptr && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
    if (interruptSignal() == 0) {
      written = false;
      warn("cannot write the output");
    }
  }
  if (!written) return EXIT_WRITE_FAILED;
  return stopped ? exitStatusForSignal(interruptSignal()) : 0;
}

}  // namespace mtd::cli
