#include "sweep/OrderedCombiner.h"

namespace mtd::sweep {

OrderedCombiner::OrderedCombiner(const StopRule& rule)
    : rule_(rule), batchLimit_(batchCount(rule.maxFrames)) {
  if (batchLimit_ == 0) done_ = ruleReached_ = true;
}

int OrderedCombiner::add(std::int64_t batch, const BatchTally& tally) {
  if (!wanted(batch)) return 0;
  pending_.emplace(batch, tally);
  int folded = 0;
  for (auto it = pending_.begin(); !done_ && it != pending_.end() && it->first == next_;) {
    total_ += it->second;
    total_.addBatchSpread(it->second);
    ++next_;
    ++folded;
    it = pending_.erase(it);
    if (stopReached(total_, rule_) || next_ >= batchLimit_) done_ = ruleReached_ = true;
  }
  if (done_) pending_.clear();
  return folded;
}

}  // namespace mtd::sweep
