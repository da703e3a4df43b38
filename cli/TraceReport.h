#pragma once

#include <string>

#include "cli/TrialTrace.h"

namespace mtd::cli {

// The trace as text for a reader following the block by hand, ending in a line feed.
std::string traceText(const TrialTrace& trace);

// The code, the channel errors, every iteration and the stop, without the lines about the
// block's place in a Run; ending in a line feed.
std::string decodingText(const TrialTrace& trace);

}  // namespace mtd::cli
