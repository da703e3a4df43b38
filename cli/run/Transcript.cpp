#include "cli/run/Transcript.h"

#include "cli/run/HeadlessRunHooks.h"
#include "core/TextFormat.h"
#include "ui/TextLines.h"

namespace mtd::cli {

std::string shownBlockText(const Simulation& sim, const RunController& run) {
  // The status lines as the animated decoding leaves them: START DISTANCE is the start
  // syndrome weight, CURRENT DISTANCE the distance after the last flip.
  std::string text = format("SHOWN BLOCK: TRIAL=%d", run.trial());
  text += " | " + runParametersLine(sim.params);
  text += " | " + noiseLine(run.noiseWeight(), sim.blockTally.weights[SLOT_START_WEIGHT]);
  text += " | " + blockNumberLine(run.blockNumber());
  text += " | " + distanceLine(sim.decoder.currentDistance);
  text += '\n';
  for (const StatisticsLine& line : statisticsLines(sim)) text += line.text + '\n';
  return text;
}

void writeTranscript(Simulation& sim, const ConfigurationSnapshot& configuration, std::FILE* out,
                     TerminalProgress* progress) {
  HeadlessRunHooks hooks(sim, configuration, out, progress);
  RunController run(sim, hooks);
  hooks.attach(run);
  run.run();
  std::fprintf(out, "TRIALS=%d\nSHOWN BLOCKS=%d\n", run.trialsPerformed(), run.blockNumber());
}

}  // namespace mtd::cli
