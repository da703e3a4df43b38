#include "mpi/Protocol.h"

namespace mtd::mpi {

std::vector<std::int64_t> encodeReport(const Report& report) {
  std::vector<std::int64_t> words;
  words.reserve(1 + REPORT_WORDS_PER_BATCH * report.finished.size());
  words.push_back(report.want);
  for (const FinishedBatch& f : report.finished) {
    const sweep::BatchTally& t = f.tally;
    words.insert(words.end(), {f.batch, t.frames, t.frameErrors, t.infoBits, t.channelInfoErrors,
                               t.decodedInfoErrors, t.iterations});
  }
  return words;
}

Report decodeReport(std::span<const std::int64_t> words) {
  Report report;
  if (words.empty()) return report;
  report.want = words[0];
  for (std::size_t i = 1; i + REPORT_WORDS_PER_BATCH <= words.size(); i += REPORT_WORDS_PER_BATCH) {
    const std::int64_t* w = &words[i];
    report.finished.push_back({w[0], {w[1], w[2], w[3], w[4], w[5], w[6]}});
  }
  return report;
}

}  // namespace mtd::mpi
