// The bit-sliced decoder with lane refill, included after BitSliceKernel.h by the file of each
// instruction set. A chunk decodes until its slowest frame stops, while most of its frames stop
// after three or four sweeps: here a lane whose frame has stopped takes a fresh frame at a
// sweep boundary, and every lane keeps its own iteration count and threshold.
//
// The drawn noise is cut into slices of one lane word each; lane l of slice k holds frame
// k * lanes + l, and a lane only ever moves from its frame in slice k to the one in slice k + 1.
// A refill is then a masked copy of whole rows, with no bit moved between lanes.
#include "sweep/BitSliceKernel.h"

namespace mtd::sweep::MTD_KERNEL_NAMESPACE {

// Lanes each compared with their own threshold T (-1..15): a sum S exceeds T exactly when
// S + (15 - T) carries out of four bits, a ripple of one AND and three majorities.
template <typename W>
struct LaneLimit {
  W complement[4];  // the bits of 15 - T, lanes with T >= 0
  W all;            // lanes with T = -1: every active position flips
  W exceeded(W b0, W b1, W b2, W b3) const {
    W carry = b0 & complement[0];
    carry = Lanes::majority(b1, complement[1], carry);
    carry = Lanes::majority(b2, complement[2], carry);
    carry = Lanes::majority(b3, complement[3], carry);
    return carry | all;
  }
};

template <typename W>
void sweepLanes(const RunPlan& plan, W* diff, W* syn, W active, const LaneLimit<W>& limit) {
  withInputCount(plan.tapCount, [&](auto n) {
    sweepWithLimit<W, decltype(n)::value>(plan, diff, syn, active, limit);
  });
}

// Lanes that started their frames at the same sweep: they share an iteration and a threshold.
template <typename W>
struct Cohorts {
  static constexpr int MAX = 64;
  W lanes[MAX];
  std::int32_t firstSweep[MAX];
  int count = 0;

  bool full() const { return count == MAX; }
  void add(W mask, std::int32_t sweep) {
    lanes[count] = mask;
    firstSweep[count++] = sweep;
  }
  void dropEmpty() {
    int kept = 0;
    for (int c = 0; c < count; ++c) {
      if (!Lanes::any(lanes[c])) continue;
      lanes[kept] = lanes[c];
      firstSweep[kept++] = firstSweep[c];
    }
    count = kept;
  }
};

template <typename W>
class RefillDecoder {
 public:
  static constexpr int LANES = 64 * Lanes::GROUPS;
  static constexpr int MAX_SLICES = 16;

  explicit RefillDecoder(const RefillJob& job)
      : job_(job),
        code_(*job.code),
        nbl_(code_.nbl()),
        slices_(job.groups / Lanes::GROUPS),
        noise_(reinterpret_cast<W*>(job.noise)),
        info_(reinterpret_cast<W*>(job.rows)),
        syn_(info_ + nbl_),
        diff_(reinterpret_cast<W*>(job.difference)) {}

  BatchTally run() {
    tally_.frames = job_.frames;
    tally_.infoBits = std::int64_t{job_.frames} * nbl_;
    countChannelErrors();
    if (code_.iterations() <= 0) {
      tally_.decodedInfoErrors = tally_.channelInfoErrors;
      return tally_;
    }
    start();
    for (std::int32_t t = 0; Lanes::any(active_); ++t) {
      sweepOnce(t);
      current_.count(info_, diff_, nbl_);
      const W stop = stopsAfter(t);
      if (Lanes::any(stop)) {
        settle(stop, t);
        active_ &= ~stop;
        waiting_ |= stop & lanesWithNextFrame();
        // Refilling at every sweep that stops a frame was measured fastest on every path:
        // a refill costs a masked copy of the rows, a tenth of a sweep.
        if (Lanes::any(waiting_) && !cohorts_.full()) refill(t + 1);
      }
      previous_ = current_;
    }
    return tally_;
  }

 private:
  W* slice(std::int32_t row, int k) const { return noise_ + std::size_t(row) * slices_ + k; }

  // Channel errors of every slice, read before any row is touched; frames with nothing left
  // to decode are settled here.
  void countChannelErrors() {
    for (int k = 0; k < slices_; ++k) {
      valid_[k] = laneMask<W>(clampTo(job_.frames - k * LANES, 0, LANES));
      LaneCounts<W> channel;
      channel.count(slice(0, k), nullptr, nbl_, slices_);
      tally_.channelInfoErrors += channel.total(valid_[k]);
      if (code_.iterations() <= 0) {
        tally_.frameErrors += LaneCounts<W>::popcount(channel.nonZero() & valid_[k]);
      }
      if (job_.perFrame == nullptr) continue;
      for (int l = 0; l < clampTo(job_.frames - k * LANES, 0, LANES); ++l) {
        const std::int32_t errors = channel.lane(l);
        job_.perFrame[k * LANES + l] = FrameOutcome{errors, errors, 0};
      }
    }
  }

  // Syndromes of every slice at once, then slice 0 into the lanes.
  void start() {
    formSyndrome(code_, slice(0, 0), slice(nbl_, 0), slices_);
    for (std::int32_t r = 0; r < 2 * nbl_; ++r) info_[r] = *slice(r, 0);
    for (std::int32_t i = 0; i < nbl_; ++i) diff_[i] = W{};
    sliceLanes_[0] = ~W{};
    for (int k = 1; k < slices_; ++k) sliceLanes_[k] = W{};
    active_ = valid_[0];
    cohorts_.add(active_, 0);
  }

  void sweepOnce(std::int32_t t) {
    const std::int32_t inputs = code_.tapCount() + 1;
    if (cohorts_.count == 1) {
      // Every lane on one iteration: the threshold is one number, compiled in where it can be.
      const std::int32_t threshold = iterationThreshold(code_, t - cohorts_.firstSweep[0]);
      if (threshold < inputs) sweep<W>(*job_.plan, diff_, syn_, active_, threshold);
      return;
    }
    LaneLimit<W> limit{{W{}, W{}, W{}, W{}}, W{}};
    bool flips = false;
    for (int c = 0; c < cohorts_.count; ++c) {
      const std::int32_t threshold = iterationThreshold(code_, t - cohorts_.firstSweep[c]);
      flips |= threshold < inputs;
      if (threshold < 0) {
        limit.all |= cohorts_.lanes[c];
        continue;
      }
      for (int b = 0; b < 4; ++b) {
        if (((15 - threshold) >> b) & 1) limit.complement[b] |= cohorts_.lanes[c];
      }
    }
    if (flips) sweepLanes<W>(*job_.plan, diff_, syn_, active_, limit);
  }

  // Lanes whose frames stop after sweep t: nothing left, no change from iteration
  // FIRST_NO_CHANGE_ITERATION on, or their last iteration run.
  W stopsAfter(std::int32_t t) const {
    W late = W{};
    W last = W{};
    for (int c = 0; c < cohorts_.count; ++c) {
      const std::int32_t k = t - cohorts_.firstSweep[c];
      if (k >= rules::FIRST_NO_CHANGE_ITERATION) late |= cohorts_.lanes[c];
      if (k + 1 >= code_.iterations()) last |= cohorts_.lanes[c];
    }
    W stop = ~current_.nonZero() | last;
    if (Lanes::any(late)) stop |= late & current_.equal(previous_);
    return stop & active_;
  }

  void settle(W stop, std::int32_t t) {
    tally_.decodedInfoErrors += current_.total(stop);
    tally_.frameErrors += LaneCounts<W>::popcount(current_.nonZero() & stop);
    for (int c = 0; c < cohorts_.count; ++c) {
      const std::int32_t sweeps = t - cohorts_.firstSweep[c] + 1;
      const W stopped = cohorts_.lanes[c] & stop;
      tally_.iterations += LaneCounts<W>::popcount(stopped) * sweeps;
      if (job_.perFrame != nullptr) record(stopped, sweeps);
      cohorts_.lanes[c] &= ~stop;
    }
    cohorts_.dropEmpty();
  }

  void record(W stopped, std::int32_t sweeps) const {
    for (int k = 0; k < slices_; ++k) {
      const W lanes = stopped & sliceLanes_[k];
      for (int i = 0; i < Lanes::GROUPS; ++i) {
        for (std::uint64_t bits = Lanes::part(lanes, i); bits != 0; bits &= bits - 1) {
          const int l = 64 * i + __builtin_ctzll(bits);
          FrameOutcome& outcome = job_.perFrame[k * LANES + l];
          outcome.iterations = sweeps;
          outcome.infoErrorsLeft = current_.lane(l);
        }
      }
    }
  }

  W lanesWithNextFrame() const {
    W next = W{};
    for (int k = 0; k + 1 < slices_; ++k) next |= sliceLanes_[k] & valid_[k + 1];
    return next;
  }

  // The waiting lanes take the frames one slice on: their rows (information errors as drawn,
  // syndrome as formed) are copied in and their differences cleared.
  void refill(std::int32_t sweep) {
    const W lanes = waiting_;
    int from[MAX_SLICES];
    W moved[MAX_SLICES];
    int sources = 0;
    for (int k = slices_ - 2; k >= 0; --k) {
      const W m = lanes & sliceLanes_[k];
      if (!Lanes::any(m)) continue;
      from[sources] = k + 1;
      moved[sources++] = m;
      sliceLanes_[k] &= ~m;
      sliceLanes_[k + 1] |= m;
    }
    if (sources == 1) {
      copyRows(lanes, from[0]);
    } else {
      for (std::int32_t r = 0; r < nbl_; ++r) {
        W x = info_[r] & ~lanes;
        W y = syn_[r] & ~lanes;
        for (int s = 0; s < sources; ++s) {
          x |= *slice(r, from[s]) & moved[s];
          y |= *slice(nbl_ + r, from[s]) & moved[s];
        }
        info_[r] = x;
        syn_[r] = y;
        diff_[r] &= ~lanes;
      }
    }
    active_ |= lanes;
    cohorts_.add(lanes, sweep);
    waiting_ = W{};
  }

  // One pass over the positions: a refill costs about a tenth of a sweep.
  void copyRows(W lanes, int k) {
    for (std::int32_t r = 0; r < nbl_; ++r) {
      info_[r] = Lanes::select(lanes, *slice(r, k), info_[r]);
      syn_[r] = Lanes::select(lanes, *slice(nbl_ + r, k), syn_[r]);
      diff_[r] &= ~lanes;
    }
  }

  const RefillJob& job_;
  const SweepCode& code_;
  const std::int32_t nbl_;
  const int slices_;
  W* const noise_;
  W* const info_;
  W* const syn_;
  W* const diff_;
  BatchTally tally_;
  W valid_[MAX_SLICES];
  W sliceLanes_[MAX_SLICES];  // the slice each lane's frame comes from
  W active_ = W{};
  W waiting_ = W{};  // stopped lanes that have a frame to take
  Cohorts<W> cohorts_;
  LaneCounts<W> previous_;
  LaneCounts<W> current_;
};

template <typename W>
BatchTally decodeRefill(const RefillJob& job) {
  return RefillDecoder<W>(job).run();
}

}  // namespace mtd::sweep::MTD_KERNEL_NAMESPACE
