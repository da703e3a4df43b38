#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "SimProcess.h"

namespace mtd::testing {

// One shown block of a transcript: its "SHOWN BLOCK:" line and statistics screen, read back.
struct ShownBlock {
  int trial = -1, rand = 0, k = 0, d = 0, noiseWeight = 0, startDistance = 0, blockNumber = 0,
      currentDistance = 0;
  float p = 0;
  std::array<long, 3> totalErrors{};  // bits, information errors, check errors
  std::array<long, 11> totalDecoder{};
  long totalFinal = 0;
  std::array<long, 3> blockErrors{};
  std::array<long, 11> blockDecoder{};
  std::array<long, 11> blockSyndrome{};
  long startSyndrome = 0, finalSyndrome = 0, finalInfo = 0;
};

struct Transcript {
  std::vector<ShownBlock> blocks;
  int trials = -1;
  int shownBlocks = -1;
  bool wellFormed = false;
};

inline bool readEleven(const std::string& line, const char* name, std::array<long, 11>& v) {
  const std::string format = std::string(name) + "=%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld";
  return std::sscanf(line.c_str(), format.c_str(), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                     &v[7], &v[8], &v[9], &v[10]) == 11;
}

// Reads a whole transcript; wellFormed only when every line has the expected shape.
inline Transcript parseTranscript(const std::string& text) {
  Transcript t;
  const std::vector<std::string> lines = linesOf(text);
  std::size_t i = 0;
  while (i + 12 <= lines.size() && lines[i].starts_with("SHOWN BLOCK:")) {
    ShownBlock b;
    const std::string* l = &lines[i];
    bool ok =
        std::sscanf(l[0].c_str(),
                    "SHOWN BLOCK: TRIAL=%d | RAND=%d, P=%f, CODE=1/2, K=%d, D=%d | NOISE "
                    "WEIGHT=%d, START DISTANCE=%d | BLOCK NUMBER = %d | CURRENT DISTANCE=%d",
                    &b.trial, &b.rand, &b.p, &b.k, &b.d, &b.noiseWeight, &b.startDistance,
                    &b.blockNumber, &b.currentDistance) == 9 &&
        l[1] == "TOTAL STATISTIC:" &&
        std::sscanf(l[2].c_str(), "TOTAL ERRORS IN  %ld BITS, INF ERRORS=%ld, CHECK ERRORS=%ld ",
                    &b.totalErrors[0], &b.totalErrors[1], &b.totalErrors[2]) == 3 &&
        l[2].ends_with(" ") && readEleven(l[3], "DECODER ERRORS", b.totalDecoder) &&
        std::sscanf(l[4].c_str(), "FINAL INFORMATION ERRORS=%ld", &b.totalFinal) == 1 &&
        l[5] == "BLOCK STATISTIC:" &&
        std::sscanf(l[6].c_str(), "INFORMATION BLOCK LENGTH=%ld, INF ERRORS=%ld, CHECK ERRORS=%ld",
                    &b.blockErrors[0], &b.blockErrors[1], &b.blockErrors[2]) == 3 &&
        readEleven(l[7], "DECODER ERRORS", b.blockDecoder) &&
        readEleven(l[8], "SYNDROME WEIGHT", b.blockSyndrome) &&
        std::sscanf(l[9].c_str(), "START SYNDROME WEIGHT=%ld", &b.startSyndrome) == 1 &&
        std::sscanf(l[10].c_str(), "FINAL SYNDROME WEIGHT=%ld", &b.finalSyndrome) == 1 &&
        std::sscanf(l[11].c_str(), "FINAL INFORMATION ERRORS=%ld", &b.finalInfo) == 1;
    if (!ok) return t;
    t.blocks.push_back(b);
    i += 12;
  }
  t.wellFormed = i + 2 == lines.size() &&
                 std::sscanf(lines[i].c_str(), "TRIALS=%d", &t.trials) == 1 &&
                 std::sscanf(lines[i + 1].c_str(), "SHOWN BLOCKS=%d", &t.shownBlocks) == 1;
  return t;
}

}  // namespace mtd::testing
