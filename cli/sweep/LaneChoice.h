#pragma once

#include <optional>
#include <string>

#include "sweep/LanePath.h"

namespace mtd::cli {

// The lane path the environment variable MTD_LANES forces (portable, avx2, avx512), or the
// widest this processor runs when it is unset or empty; nullopt with `error` naming the variable
// and the reason when the path is unknown or cannot run here.
std::optional<sweep::LanePath> laneChoice(std::string& error);

}  // namespace mtd::cli
