#include "convert/look_ahead.h"

namespace {

constexpr size_t kAheadPerThread = 4;

}  // namespace

size_t MostBatchesAhead(size_t workers, bool walkedFolder) {
  return walkedFolder ? kAheadPerThread * workers : workers;
}

bool MayQueueBatch(const LookAhead& held, uint64_t bytes, size_t maxBatches) {
  return held.batches == 0 || (held.batches < maxBatches && held.bytes + bytes <= kPrepareBudgetBytes);
}

BatchPlan PlanBatch(size_t first, size_t count, bool pastFolders,
                    const std::function<std::pair<Step, uint64_t>(size_t)>& entryAt) {
  BatchPlan plan;
  for (plan.end = first; plan.end < count && plan.members.size() < kBatchFiles; ++plan.end) {
    const auto [step, size] = entryAt(plan.end);
    if (step == Step::Descend && !pastFolders)
      break;
    if (step != Step::Convert)
      continue;
    if (!plan.members.empty() && plan.bytes + size > kBatchBytes)
      break;
    plan.members.push_back(plan.end);
    plan.bytes += size;
  }
  return plan;
}
