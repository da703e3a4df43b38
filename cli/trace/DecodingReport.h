#pragma once

#include <string>

#include "cli/trace/DecodingTrace.h"

namespace mtd::cli {

// The code, the channel errors, every iteration and the stop, for a reader following the
// decoding by hand; ending in a line feed.
std::string decodingText(const DecodingTrace& trace);

}  // namespace mtd::cli
