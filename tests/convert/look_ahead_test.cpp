#include "convert/look_ahead.h"

#include <gtest/gtest.h>

namespace {

TEST(LookAheadTest, QueuesWhileBatchesAndBytesStayWithinBounds) {
  constexpr uint64_t kHuge = kPrepareBudgetBytes * 2;
  // held batches, held bytes, batch bytes, most batches, may queue
  const struct {
    size_t batches;
    uint64_t held, bytes;
    size_t most;
    bool queues;
  } rows[] = {
      {0, 0, kHuge, 0, true},
      {7, 0, 1, 8, true},
      {8, 0, 1, 8, false},
      {1, kPrepareBudgetBytes - 10, 10, 8, true},
      {1, kPrepareBudgetBytes - 10, 11, 8, false},
  };
  EXPECT_EQ(MostBatchesAhead(2, true), 8u);
  EXPECT_EQ(MostBatchesAhead(2, false), 2u);
  for (const auto& row : rows)
    EXPECT_EQ(MayQueueBatch({row.batches, row.held}, row.bytes, row.most), row.queues)
        << row.batches << " " << row.bytes;
}

// F<size>: a file, D: a subfolder, O: an entry passed over.
BatchPlan Plan(const std::vector<std::pair<Step, uint64_t>>& entries, size_t first, bool pastFolders) {
  return PlanBatch(first, entries.size(), pastFolders, [&](size_t index) { return entries[index]; });
}

TEST(LookAheadTest, BatchesSmallFilesUpToTheirBoundsAndALargeOneAlone) {
  const auto F = [](uint64_t size) { return std::pair{Step::Convert, size}; };
  const std::pair D{Step::Descend, uint64_t{0}};
  const std::pair O{Step::Skip, uint64_t{0}};
  const struct {
    std::vector<std::pair<Step, uint64_t>> entries;
    size_t first;
    bool pastFolders;
    std::vector<size_t> members;
    size_t end;
  } rows[] = {
      {{F(10), O, F(10), D, F(10)}, 0, false, {0, 2}, 3},
      {{F(10), O, F(10), D, F(10)}, 0, true, {0, 2, 4}, 5},
      {{F(10), D}, 1, false, {}, 1},
      {{F(10)}, 1, false, {}, 1},
      {{F(3 * kBatchBytes), F(1)}, 0, false, {0}, 1},
      {{F(kBatchBytes - 1), F(1), F(1)}, 0, false, {0, 1}, 2},
  };
  for (const auto& row : rows) {
    const BatchPlan plan = Plan(row.entries, row.first, row.pastFolders);
    EXPECT_EQ(plan.members, row.members);
    EXPECT_EQ(plan.end, row.end);
  }
  const BatchPlan many = Plan(std::vector(kBatchFiles + 5, F(1)), 0, false);
  EXPECT_EQ(many.members.size(), kBatchFiles);
  EXPECT_EQ(many.bytes, kBatchFiles);
}

}  // namespace
