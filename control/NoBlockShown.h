#pragma once

#include <cstdint>
#include <string>

namespace mtd {

// What the status area says when a run ends without showing a block: how many trial blocks
// were tried and that the selection rule kept none, or that the run had none to try.
std::string noBlockShownMessage(std::int32_t trialsDone);

}  // namespace mtd
