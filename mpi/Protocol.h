#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "sweep/BatchTally.h"
#include "sweep/PointSetup.h"

// The conversation between rank 0, which hands out a point's batches and folds their tallies in
// batch order, and every other rank, which computes the batches it is given:
//
//   0 -> rank  POINT   the point to compute (a PointMessage)
//   rank -> 0  REPORT  the tallies of the batches it finished (sent as soon as one finishes), or
//                      none when it is idle, and how many more batches it wants
//   0 -> rank  ASSIGN  batch numbers in reply to a REPORT; empty when none can be given yet
//                      and the rank still holds some. An idle rank's reply waits for a batch.
//   0 -> rank  END     in reply to a REPORT once the point is decided: no more batches
//   0 -> rank  QUIT    the sweep is over; the rank exits with the status it carries
//
// A rank sends one REPORT and then waits for its reply, so when the point ends rank 0 knows that
// nothing of it is still on its way once every rank has had its END. A result never waits on
// rank 0: only a rank that holds no batch waits for a reply.
namespace mtd::mpi {

// Batches a rank holds per thread, rank 0 included: one running and the others waiting, so that
// a thread does not idle for a round trip to rank 0, which takes a scheduler's time slice (some
// milliseconds) when every core is computing; a batch takes about one.
inline constexpr std::size_t BATCHES_PER_THREAD = 16;
// A rank's main thread, rank 0's included, wakes after this many rounds of its threads'
// batches: it folds or reports them and looks at the messages. Two rounds of sixteen keep
// fourteen queued for the round trip to rank 0 (a round each way at most) while the main
// thread wakes once in every two rounds, not for every batch.
inline constexpr std::size_t REPORT_ROUNDS = 2;

enum Tag : int { TAG_POINT = 1, TAG_REPORT, TAG_ASSIGN, TAG_END, TAG_QUIT };

// Every rank runs the same binary on the same kind of machine, so the setup travels as bytes.
struct PointMessage {
  sweep::PointSetup setup;
  std::int64_t frameLimit = 0;
  std::int32_t threads = 1;  // on every rank, rank 0 included
};
static_assert(std::is_trivially_copyable_v<PointMessage>);

struct FinishedBatch {
  std::int64_t batch = 0;
  sweep::BatchTally tally;
};

struct Report {
  std::int64_t want = 0;
  std::vector<FinishedBatch> finished;
};

// A REPORT as 64-bit integers: want, then per batch its number and its six counts.
inline constexpr std::size_t REPORT_WORDS_PER_BATCH = 7;
std::vector<std::int64_t> encodeReport(const Report& report);
Report decodeReport(std::span<const std::int64_t> words);

}  // namespace mtd::mpi
