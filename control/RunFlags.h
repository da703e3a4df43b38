#pragma once

namespace mtd {

// How the commands talk to a running run: the handlers set and clear these, the running loops
// test them after each message they service.
struct RunFlags {
  bool resetRequested = false;  // abandon the run and show a fresh grid
  bool paused = false;          // held by the user, or by a timed wait
  bool running = false;         // a run is in progress
  bool quitRequested = false;   // the window is to close once the run has unwound; never cleared
  bool stepGranted = false;     // Step let a held run go on: it holds again after one step
  bool showEveryBlock = false;  // every trial block is animated, not only those the rule keeps
};

}  // namespace mtd
