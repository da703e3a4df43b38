#pragma once

#include <cstdint>
#include <map>

#include "sweep/BatchTally.h"
#include "sweep/StopRule.h"

namespace mtd::sweep {

// Folds batch results strictly in batch order, whatever order they finish in, and ends the
// point at the first batch end where the stop rule holds; later batches are discarded. Used by
// the thread pool and by a distributed runner's collecting process alike.
class OrderedCombiner {
 public:
  explicit OrderedCombiner(const StopRule& rule);

  // Returns the number of batches folded into the total by this result (0 when it waits for an
  // earlier one or arrives after the end).
  int add(std::int64_t batch, const BatchTally& tally);
  // Ends the point at the current batch end (a time limit or an interruption).
  void finish() { done_ = true; }

  bool done() const { return done_; }
  // True when the point ended because its frame or frame-error rule held.
  bool ruleReached() const { return ruleReached_; }
  const BatchTally& total() const { return total_; }
  std::int64_t nextNeeded() const { return next_; }
  std::int64_t batchLimit() const { return batchLimit_; }
  // Whether a batch still has to be computed.
  bool wanted(std::int64_t batch) const { return !done_ && batch >= next_ && batch < batchLimit_; }
  // Results held back waiting for an earlier batch.
  std::size_t pending() const { return pending_.size(); }

 private:
  StopRule rule_;
  std::int64_t batchLimit_;
  std::int64_t next_ = 0;
  bool done_ = false;
  bool ruleReached_ = false;
  BatchTally total_;
  std::map<std::int64_t, BatchTally> pending_;
};

}  // namespace mtd::sweep
