#pragma once

#include <cstdint>

#include "sweep/PointSetup.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {

// Frames are drawn in groups of 64 lanes; this many groups share one word layout.
inline constexpr std::int64_t GROUP_FRAMES = 64;

// The errors of groups firstGroup..firstGroup+groups-1 of a point into
// out[r * groups + i], r < 2 * nbl (information then check bits). Frames at or beyond
// frameLimit get no errors.
void drawNoiseGroups(const PointSetup& setup, std::int64_t firstGroup, int groups,
                     std::int64_t frameLimit, Workspace& workspace, std::uint64_t* out);

}  // namespace mtd::sweep
