#pragma once

#include "core/AnimationHooks.h"
#include "core/Simulation.h"

namespace mtd {

// Every pass runs silently when hooks is null and animated otherwise. An animated pass returns
// early when a hook's check asks it to stop; its caller tests the stop flags itself.
void generateInfoNoise(Simulation& sim, AnimationHooks* hooks);
void generateCheckNoise(Simulation& sim, AnimationHooks* hooks);
void formSyndrome(Simulation& sim, AnimationHooks* hooks);
void decodeBlock(Simulation& sim, AnimationHooks* hooks);

// Ones among positions 0..count-1 of a row.
std::int32_t countOnes(const Bit* row, std::int32_t count);

}  // namespace mtd
