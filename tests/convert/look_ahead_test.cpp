#include "convert/look_ahead.h"

#include <gtest/gtest.h>

namespace {

TEST(LookAheadTest, QueuesWhileBatchesAndBytesStayWithinBounds) {
  EXPECT_EQ(MostBatchesAhead(2, true), 8u);
  EXPECT_EQ(MostBatchesAhead(2, false), 2u);
  constexpr uint64_t kNear = kPrepareBudgetBytes - 10;
  // held batches and bytes, the batch's bytes, the most batches, whether it may be queued
  const std::tuple<size_t, uint64_t, uint64_t, size_t, bool> rows[] = {
      {0, 0, kPrepareBudgetBytes * 2, 0, true},
      {7, 0, 1, 8, true},
      {8, 0, 1, 8, false},
      {1, kNear, 10, 8, true},
      {1, kNear, 11, 8, false},
  };
  for (const auto& [batches, held, bytes, most, queues] : rows)
    EXPECT_EQ(MayQueueBatch({batches, held}, bytes, most), queues) << batches << " " << bytes;
}

TEST(LookAheadTest, BatchesSmallFilesUpToTheirBoundsAndALargeOneAlone) {
  using Entries = std::vector<std::pair<Step, uint64_t>>;
  const auto F = [](uint64_t size) { return std::pair{Step::Convert, size}; };
  const std::pair D{Step::Descend, uint64_t{0}}, S{Step::Skip, uint64_t{0}};
  const auto plan = [](const Entries& entries, size_t first, bool pastFolders) {
    return PlanBatch(first, entries.size(), pastFolders, [&](size_t index) { return entries[index]; });
  };
  // entries, where the plan starts, past folders, its members, where it stops
  const std::tuple<Entries, size_t, bool, std::vector<size_t>, size_t> rows[] = {
      {{F(10), S, F(10), D, F(10)}, 0, false, {0, 2}, 3},
      {{F(10), S, F(10), D, F(10)}, 0, true, {0, 2, 4}, 5},
      {{F(10), D}, 1, false, {}, 1},
      {{F(10)}, 1, false, {}, 1},
      {{F(3 * kBatchBytes), F(1)}, 0, false, {0}, 1},
      {{F(kBatchBytes - 1), F(1), F(1)}, 0, false, {0, 1}, 2},
  };
  for (const auto& [entries, first, pastFolders, members, end] : rows) {
    const BatchPlan made = plan(entries, first, pastFolders);
    EXPECT_EQ(made.members, members);
    EXPECT_EQ(made.end, end);
  }
  const BatchPlan many = plan(Entries(kBatchFiles + 5, F(1)), 0, false);
  EXPECT_EQ(many.members.size(), kBatchFiles);
  EXPECT_EQ(many.bytes, kBatchFiles);
}

}  // namespace
