#pragma once

#include <string>

// Starting gnuplot, one file per system (PlotterPosix.cpp, PlotterWindows.cpp).
namespace mtd::cli {

// Whether gnuplot can be found on PATH.
bool plotterAvailable();

// What to do when it cannot: the package or download that provides it on this system.
std::string plotterMissingHint();

// Runs gnuplot with the script on its standard input and its output discarded, so that it
// cannot be reached by a Ctrl-C meant for the sweep, which still wants the plot of what it
// has. Returns whether the whole script was taken and gnuplot succeeded; false with the
// reason in `error` otherwise.
bool runPlotter(const std::string& script, std::string& error);

}  // namespace mtd::cli
