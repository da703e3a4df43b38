#include "sweep/NoiseKernels.h"

namespace mtd::sweep {

bool fillFourGroupsAvx2(const SoundNoise&, std::int64_t, std::int32_t, std::uint64_t*) {
  return false;
}

}  // namespace mtd::sweep
