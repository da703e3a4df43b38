#pragma once

#include <string>

#include "cli/run/TrialTrace.h"

namespace mtd::cli {

// The trace as text for a reader following the block by hand: its place in the Run, the
// decoding and the selection rule's verdict; ending in a line feed.
std::string traceText(const TrialTrace& trace);

}  // namespace mtd::cli
