// How far a folder scan prepares files ahead of their turn: which files go
// into the next batch for a worker, and whether the scan may queue it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Files prepared ahead of their turn hold their bytes until they are
// written; together they stay within this, though one batch of any size may
// always be prepared when nothing else is.
constexpr uint64_t kPrepareBudgetBytes = uint64_t{256} << 20;
// Small files are prepared in batches of up to this many files and bytes,
// so that handing work between the threads costs little beside the files
// themselves; a larger file makes a batch of its own.
constexpr size_t kBatchFiles = 32;
constexpr uint64_t kBatchBytes = uint64_t{1} << 20;

// What the scan holds prepared ahead: batches queued or done but not yet
// taken in their turn, and their files' bytes.
struct LookAhead {
  size_t batches = 0;
  uint64_t bytes = 0;
};

// The most batches held ahead with `workers` threads: four a thread in the
// folder being walked, which keeps every thread busy while the walk writes,
// and one a thread in a folder further up, which leaves room for that one.
size_t MostBatchesAhead(size_t workers, bool walkedFolder);

// True when a batch of `bytes` may be queued beside what is held: always
// when nothing is, else while fewer than `maxBatches` are held and the
// bytes stay within the budget.
bool MayQueueBatch(const LookAhead& held, uint64_t bytes, size_t maxBatches);

// What the scan does with an entry of a listed folder.
enum class Step { Descend, Skip, Convert };

// The files of one batch, by their place in the listing, and the first
// place not looked at.
struct BatchPlan {
  std::vector<size_t> members;
  uint64_t bytes = 0;
  size_t end = 0;
};

// Plans the next batch from `first` on, among `count` entries whose step and
// size `entryAt` tells: files to convert up to kBatchFiles and kBatchBytes
// (a larger file alone), stopping at a subfolder unless `pastFolders`. No
// members when none is left before the end or that subfolder.
BatchPlan PlanBatch(size_t first, size_t count, bool pastFolders,
                    const std::function<std::pair<Step, uint64_t>(size_t)>& entryAt);
