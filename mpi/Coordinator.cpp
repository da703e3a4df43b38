#include "mpi/Coordinator.h"

#include <chrono>
#include <optional>
#include <vector>

#include "mpi/LocalBatchPool.h"
#include "mpi/Messaging.h"
#include "mpi/Protocol.h"
#include "sweep/OrderedCombiner.h"

namespace mtd::mpi {

namespace {

// Rank 0's main thread wakes when its own threads have finished a few rounds of batches, which
// is also when it looks at the other ranks' reports (see REPORT_ROUNDS); without its own batches
// it waits on MPI. This limit only keeps an interruption and a time limit noticed when
// nothing finishes.
constexpr std::chrono::milliseconds RECHECK{20};
// Batches handed out at most beyond the first one still missing, so that the results held
// back for the in-order fold stay bounded whatever a slow rank does.
constexpr std::int64_t WINDOW_BATCHES = 1 << 16;

using Clock = std::chrono::steady_clock;

}  // namespace

// One point: its batches, its fold and the state of every rank's conversation.
class Coordinator::Point {
 public:
  Point(LocalBatchPool& pool, int ranks, const sweep::StopRule& rule)
      : pool_(pool), ranks_(static_cast<std::size_t>(ranks)), combiner_(rule) {}

  sweep::OrderedCombiner& combiner() { return combiner_; }

  // Folds what has arrived; returns whether the total moved.
  bool collect() {
    int folded = 0;
    for (const FinishedBatch& f : pool_.takeFinished()) folded += combiner_.add(f.batch, f.tally);
    while (const std::optional<MPI_Status> status = pollMessage(MPI_ANY_SOURCE, TAG_REPORT)) {
      const Report report = decodeReport(receiveWords(*status));
      for (const FinishedBatch& f : report.finished) folded += combiner_.add(f.batch, f.tally);
      RankState& rank = ranks_[static_cast<std::size_t>(status->MPI_SOURCE)];
      rank.holds -= static_cast<std::int64_t>(report.finished.size());
      rank.asked = true;
      rank.awaitingReply = true;
      rank.want = report.want;
    }
    return folded > 0;
  }

  // Until every rank has asked, rank 0 would deal a short point to itself alone.
  bool everyRankAsked() const {
    for (std::size_t r = 1; r < ranks_.size(); ++r) {
      if (!ranks_[r].asked) return false;
    }
    return true;
  }

  // One batch at a time to each taker in turn, rank 0's threads included, so that even a
  // point of a few batches is shared.
  void handOut(std::size_t ownCredit) {
    std::size_t ownRoom = ownCredit > pool_.held() ? ownCredit - pool_.held() : 0;
    std::vector<std::vector<std::int64_t>> given(ranks_.size());
    for (bool gave = true; gave;) {
      gave = false;
      if (ownRoom > 0 && available()) {
        pool_.push(next_++);
        --ownRoom;
        gave = true;
      }
      for (std::size_t r = 1; r < ranks_.size(); ++r) {
        const RankState& rank = ranks_[r];
        if (rank.awaitingReply && static_cast<std::int64_t>(given[r].size()) < rank.want &&
            available()) {
          given[r].push_back(next_++);
          gave = true;
        }
      }
    }
    for (std::size_t r = 1; r < ranks_.size(); ++r) reply(r, given[r]);
  }

  // After the point is decided: every rank still computing reports once more and gets END, so
  // that nothing of this point is left in flight when the next one starts. Rank 0 drops its own
  // batches first, so that its threads do not compute beside the other ranks' last ones.
  void release(const std::atomic<bool>& cancel) {
    pool_.abandon();
    for (std::size_t r = 1; r < ranks_.size(); ++r) {
      const int rank = static_cast<int>(r);
      if (!ranks_[r].awaitingReply) {
        std::optional<MPI_Status> report;
        while (!(report = awaitMessage(rank, TAG_REPORT, cancel, RECHECK))) {
          if (cancel.load()) return;  // mpirun is ending the job
        }
        receiveWords(*report);
      }
      sendWords(rank, TAG_END, {});
    }
  }

 private:
  void reply(std::size_t r, const std::vector<std::int64_t>& batches) {
    RankState& rank = ranks_[r];
    if (!rank.awaitingReply) return;
    // A rank still computing gets its reply even with nothing in it, so that it can report the
    // batches it holds; an idle one waits for a batch or for the end of the point.
    if (batches.empty() && rank.holds == 0) return;
    sendWords(static_cast<int>(r), TAG_ASSIGN, batches);
    rank.holds += static_cast<std::int64_t>(batches.size());
    rank.awaitingReply = false;
  }

  bool available() const {
    return next_ < combiner_.batchLimit() && next_ < combiner_.nextNeeded() + WINDOW_BATCHES;
  }

  LocalBatchPool& pool_;
  std::vector<RankState> ranks_;
  sweep::OrderedCombiner combiner_;
  std::int64_t next_ = 0;
};

Coordinator::Coordinator(int ranks) : ranks_(ranks) {}

Coordinator::~Coordinator() = default;

sweep::PointResult Coordinator::runPoint(const sweep::PointSetup& setup,
                                         const sweep::StopRule& rule, int threads,
                                         const std::atomic<bool>& cancel,
                                         const sweep::ProgressCallback& progress) {
  const Clock::time_point start = Clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  if (!pool_ || pool_->threads() != threads) pool_ = std::make_unique<LocalBatchPool>(threads);
  const PointMessage message{setup, rule.maxFrames, threads};
  for (int r = 1; r < ranks_; ++r) sendBytes(r, TAG_POINT, message);
  pool_->beginPoint(setup, rule.maxFrames);

  Point point(*pool_, ranks_, rule);
  sweep::OrderedCombiner& combiner = point.combiner();
  const std::size_t ownCredit = BATCHES_PER_THREAD * static_cast<std::size_t>(threads);
  bool cancelled = false;
  for (;;) {
    if (point.collect() && progress) progress(combiner.total(), seconds());
    if (combiner.done()) break;
    if (cancel.load()) {
      cancelled = true;
      break;
    }
    if (rule.maxSeconds && seconds() >= *rule.maxSeconds) {
      combiner.finish();
      break;
    }
    if (point.everyRankAsked()) point.handOut(ownCredit);
    // Rank 0 folds its own results in rounds too, and before its queue runs dry. It holds no
    // batch only while the point starts (every rank has yet to ask) or ends (every batch is
    // given out): then the reports are all it waits for.
    const auto ownThreads = static_cast<std::size_t>(threads);
    if (pool_->held() > 0) {
      pool_->waitForFinished(REPORT_ROUNDS * ownThreads, ownThreads, RECHECK);
    } else {
      awaitMessage(MPI_ANY_SOURCE, TAG_REPORT, cancel, RECHECK);
    }
  }
  // An interruption may come from mpirun tearing the job down, when the other ranks may be gone
  // already: then nobody is waited for.
  if (cancelled) {
    pool_->abandon();
  } else {
    point.release(cancel);
  }
  return {combiner.total(), seconds(), !cancelled};
}

void Coordinator::quit(int status) {
  const std::int64_t word = status;
  for (int r = 1; r < ranks_; ++r) sendWords(r, TAG_QUIT, {&word, 1});
}

}  // namespace mtd::mpi
