#include "sweep/LanePaths.h"

#include <array>

#include "sweep/BitSliceJob.h"

namespace mtd::sweep {

namespace {

bool always() { return true; }

#if defined(MTD_VECTOR_LANES)
bool hasAvx2() {
  // The AVX2 files may also count bits with POPCNT, which every AVX2 processor has.
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}
bool hasAvx512() {
  return hasAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
}
constexpr DecodeChunkFn AVX2_DECODE = decodeChunkAvx2;
constexpr DecodeRefillFn AVX2_REFILL = decodeRefillAvx2;
constexpr NoiseGroupsFn AVX2_NOISE = fillGroupsAvx2;
constexpr DecodeChunkFn AVX512_DECODE = decodeChunkAvx512;
constexpr DecodeRefillFn AVX512_REFILL = decodeRefillAvx512;
constexpr NoiseGroupsFn AVX512_NOISE = fillGroupsAvx512;
#else
bool hasAvx2() { return false; }
bool hasAvx512() { return false; }
constexpr DecodeChunkFn AVX2_DECODE = nullptr;
constexpr DecodeRefillFn AVX2_REFILL = nullptr;
constexpr NoiseGroupsFn AVX2_NOISE = nullptr;
constexpr DecodeChunkFn AVX512_DECODE = nullptr;
constexpr DecodeRefillFn AVX512_REFILL = nullptr;
constexpr NoiseGroupsFn AVX512_NOISE = nullptr;
#endif

constexpr std::array<LanePathEntry, 3> TABLE = {{
    // Refill was measured no faster on 512 lanes: a batch gives each lane only two frames.
    {LanePath::Avx512, "avx512", "AVX-512 (F, BW, DQ, VL)", 512, 16, AVX512_DECODE, AVX512_REFILL,
     false, AVX512_NOISE, hasAvx512},
    {LanePath::Avx2, "avx2", "AVX2", 256, 8, AVX2_DECODE, AVX2_REFILL, true, AVX2_NOISE, hasAvx2},
    {LanePath::Portable, "portable", "64-bit integers", 64, 1, decodeChunkPortable,
     decodeRefillPortable, true, fillGroupsPortable, always},
}};

bool supported(const LanePathEntry& entry) {
  return entry.decode != nullptr && entry.decodeRefill != nullptr && entry.noise != nullptr &&
         entry.processorHas();
}

}  // namespace

std::span<const LanePathEntry> lanePaths() { return TABLE; }

LanePath widestLanePath() {
  for (const LanePathEntry& entry : TABLE) {
    if (supported(entry)) return entry.path;
  }
  return LanePath::Portable;
}

const LanePathEntry& lanePath(LanePath path) {
  if (path == LanePath::Widest) path = widestLanePath();
  for (const LanePathEntry& entry : TABLE) {
    if (entry.path == path) return entry;
  }
  return TABLE.back();
}

bool lanePathSupported(LanePath path) { return supported(lanePath(path)); }

const char* lanePathName(LanePath path) { return lanePath(path).name; }

std::optional<LanePath> parseLanePath(std::string_view name, std::string& error) {
  std::string known;
  for (const LanePathEntry& entry : TABLE) {
    if (name != entry.name) {
      known += known.empty() ? "" : ", ";
      known += entry.name;
      continue;
    }
    if (entry.decode == nullptr) {
      error = std::string(entry.name) + " lanes are not built into this program (built with " +
              "MTD_SIMD=OFF or for another processor family)";
      return std::nullopt;
    }
    if (!entry.processorHas()) {
      error = std::string(entry.name) + " lanes need " + entry.instructionSets +
              ", which this processor lacks";
      return std::nullopt;
    }
    return entry.path;
  }
  error = "unknown lane path \"" + std::string(name) + "\" (known: " + known + ")";
  return std::nullopt;
}

}  // namespace mtd::sweep
