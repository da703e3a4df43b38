#pragma once

#include <string>

#include "cli/SweepOptions.h"
#include "sweep/PointSetup.h"

namespace mtd::cli {

// Frame `frame.frame` of the point, with the channel errors the sweep drew for it, traced
// through core's decoder as --trial traces a trial of a Run; ending in a line feed.
std::string frameTraceText(const sweep::PointSetup& setup, const FrameReference& frame);

}  // namespace mtd::cli
