#include "convert/scan_folder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "convert/convert_file.h"
#include "convert/look_ahead.h"
#include "convert/name_pattern.h"
#include "convert/report.h"
#include "convert/worker_pool.h"
#include "platform/console_log.h"
#include "platform/file_access.h"
#include "platform/path.h"

namespace {

using PreparedList = std::vector<std::unique_ptr<PreparedConversion>>;

// Files that one thread prepares in turn, for the scan to commit in order.
struct Batch {
  std::vector<std::pair<std::string, std::optional<FileId>>> inputs;
  std::shared_ptr<const ListedNames> listing;  // of the files' folder
  // Set by whichever thread starts the batch: a worker, or the scan thread
  // while it waits for a batch whose turn has come.
  std::atomic<bool> started = false;
  bool preparedHere = false;  // by the scan thread, into `prepared`
  std::future<PreparedList> future;
  PreparedList prepared;  // once taken: one per file, or none after a failure
  uint64_t bytes{};
  bool taken = false;
};

struct Frame;
struct ListedAhead;

struct Item {
  Step step;
  std::string path;
  const char* reason = "";                // after the path of a skipped entry
  bool isFile = false;                    // a regular file, converted or skipped
  uint64_t size{};                        // of a file to convert, as the listing found it
  std::optional<FileId> id{};             // of a file, when known
  std::shared_ptr<Batch> batch{};         // while the file is prepared ahead
  size_t slot{};                          // its place in the batch
  std::unique_ptr<ListedAhead> listed{};  // a folder listed before its turn
};

// A listed folder whose entries are being walked.
struct Frame {
  std::vector<Item> items;
  size_t next = 0;                             // the entry whose turn comes next
  size_t ahead = 0;                            // the first entry not yet looked at for preparing ahead
  size_t outputFilesSeen = 0;                  // how many outputs the run had when the folder was planned
  std::shared_ptr<const ListedNames> listing;  // what the folder held when listed
};

// A folder listed on a worker before its turn, then planned here.
struct ListedAhead {
  std::future<std::optional<std::vector<FolderEntry>>> entries;  // none when it can't be opened
  bool taken = false;
  std::unique_ptr<Frame> frame;  // once planned
};

struct Scan {
  const ConversionSettings& settings;
  RunState& run;
  std::string tag;
  std::string rootPrefix;            // the scanned folder's real path and a separator
  std::set<FileId> entered;          // so that links back into the tree end the walk
  std::unique_ptr<WorkerPool> pool;  // none (or no worker) when files are prepared in turn
  LookAhead held = {};
  std::vector<std::shared_ptr<Batch>> queued = {};  // held ahead, in the order they were queued
  bool succeeded = true;
  // A scan that writes nothing before it ends (a catalogue, test mode)
  // prepares files past subfolders and lists the next folder before its
  // turn: nothing it does can change what a listing finds.
  bool writesNothing = false;
  Item* nextFolder = nullptr;  // the folder listed ahead, until its turn
  bool noFolderLeft = false;   // every folder the walk will enter is entered
};

// Returns how many threads prepare files: the workers, and this thread in a
// scan that writes nothing.
size_t Preparers(const Scan& scan) {
  return scan.pool->Workers() + (scan.writesNothing ? 1 : 0);
}

// A folder link is followed only where it stays inside the scanned tree: a
// link to "/" or a home folder would otherwise have outputs written all over
// the machine.
bool LeadsInside(Scan& scan, const std::string& path) {
  const std::optional<std::string> target = scan.run.fs->CanonicalPath(path);
  return target && (*target + kPathSeparator).starts_with(scan.rootPrefix);
}

// Decides what the scan does with a file: convert it when its name holds
// the tag, else skip it, and say nothing at all of a staged output or a file
// this run has written (converting those would feed the scan its own
// outputs). Returns false for a file passed over without a word.
bool PlanFile(Scan& scan, const FolderEntry& entry, Item& item) {
  RunState& run = scan.run;
  const bool tagged = LowercaseAscii(entry.name).find(scan.tag) != std::string::npos;
  if (entry.kind != EntryKind::File) {
    if (tagged)
      item.reason = " (not a regular file)";
    return true;
  }
  if (IsTemporaryName(entry.name))
    return false;
  std::optional<FileId> id = entry.id;
  if (!id && (tagged || !run.outputFiles.empty()))
    id = run.fs->IdentityOf(item.path);
  if (id && run.outputFiles.count(*id) != 0)
    return false;
  item.isFile = true;
  item.id = id;
  if (tagged) {
    item.step = Step::Convert;
    item.size = entry.size ? *entry.size : run.fs->SizeOf(item.path).value_or(0);
  }
  return true;
}

std::vector<Item> PlanEntries(Scan& scan, const std::string& folder, std::vector<FolderEntry>& entries) {
  // Listing order depends on the file system; byte order makes runs
  // reproducible everywhere.
  std::ranges::sort(entries, {}, &FolderEntry::name);
  std::vector<Item> items;
  for (const FolderEntry& entry : entries) {
    if (MatchesAnyPattern(scan.settings.excludePatterns, entry.name))
      continue;
    Item item{.step = Step::Skip, .path = JoinPath(folder, entry.name)};
    if (entry.kind == EntryKind::Folder) {
      if (entry.name[0] == '.')
        continue;
      if (entry.isLink && !LeadsInside(scan, item.path))
        item.reason = " (folder link leads outside the scanned folder)";
      else
        item.step = Step::Descend;
    } else if (!PlanFile(scan, entry, item)) {
      continue;
    }
    items.push_back(std::move(item));
  }
  return items;
}

// Plans the folder's listed entries, noting what the plan was made against.
std::unique_ptr<Frame> PlanListing(Scan& scan, const std::string& folder, std::vector<FolderEntry>& entries) {
  auto frame = std::make_unique<Frame>();
  frame->outputFilesSeen = scan.run.outputFiles.size();
  frame->items = PlanEntries(scan, folder, entries);
  // Only files prepared ahead of their turn look at their outputs then.
  if (scan.pool && scan.pool->Workers() != 0)
    frame->listing = std::make_shared<const ListedNames>(ListedNamesOf(entries));
  return frame;
}

// Lists the folder and plans its entries; none when it can't be opened.
std::unique_ptr<Frame> PlanFolder(Scan& scan, const std::string& folder) {
  std::vector<FolderEntry> entries;
  if (!scan.run.fs->ListFolder(folder, entries))
    return nullptr;
  return PlanListing(scan, folder, entries);
}

// A plan made ahead holds unless one of its files has since become an
// output of this run (test mode counts the outputs it foresees), which a
// plan made now would pass over.
bool StillPlanned(const Scan& scan, const Frame& frame) {
  const std::set<FileId>& outputs = scan.run.outputFiles;
  if (frame.outputFilesSeen == outputs.size())
    return true;
  return std::ranges::none_of(frame.items, [&](const Item& item) {
    return item.isFile && (item.id ? outputs.count(*item.id) != 0 : frame.outputFilesSeen == 0);
  });
}

// Prepares the file ahead of its turn, on a worker or on the scan thread
// while it waits; what preparing prints waits for the file's turn.
std::unique_ptr<PreparedConversion> PrepareRecorded(const std::string& path, std::optional<FileId> id,
                                                    const ListedNames* listing, const ConversionSettings& settings,
                                                    FileSystem& fs) {
  ConsoleLog::Recording console;
  ConsoleLog::Instance().RecordThisThread(&console);
  std::unique_ptr<PreparedConversion> conversion;
  try {
    conversion = PrepareConversion(path, settings, fs, PipeWait::Never, true, id, listing);
  } catch (...) {
    ConsoleLog::Instance().RecordThisThread(nullptr);
    throw;
  }
  ConsoleLog::Instance().RecordThisThread(nullptr);
  conversion->console = std::move(console);
  return conversion;
}

PreparedList PrepareBatch(const Batch& batch, const ConversionSettings& settings, FileSystem& fs) {
  PreparedList prepared;
  prepared.reserve(batch.inputs.size());
  for (const auto& [path, id] : batch.inputs)
    prepared.push_back(PrepareRecorded(path, id, batch.listing.get(), settings, fs));
  return prepared;
}

// Queues the frame's files at `members` to be prepared on a worker, in one
// batch; false, with nothing queued, when there is no memory to queue it
// (the files are then prepared in their turn).
bool PrepareAhead(Scan& scan, Frame& frame, const std::vector<size_t>& members, uint64_t bytes) {
  try {
    auto batch = std::make_shared<Batch>();
    batch->listing = frame.listing;
    for (const size_t index : members)
      batch->inputs.emplace_back(frame.items[index].path, frame.items[index].id);
    auto promise = std::make_shared<std::promise<PreparedList>>();
    batch->future = promise->get_future();
    const bool queued = scan.pool->Queue([promise, batch, &settings = scan.settings, fs = scan.run.fs] {
      if (batch->started.exchange(true))
        return;
      try {
        promise->set_value(PrepareBatch(*batch, settings, *fs));
      } catch (...) {
        promise->set_exception(std::current_exception());
      }
    });
    if (!queued)
      return false;
    batch->bytes = bytes;
    scan.queued.push_back(batch);
    for (size_t slot = 0; slot < members.size(); ++slot) {
      frame.items[members[slot]].batch = batch;
      frame.items[members[slot]].slot = slot;
    }
  } catch (...) {
    return false;
  }
  ++scan.held.batches;
  scan.held.bytes += bytes;
  return true;
}

// Prepares the files from the frame's next entry on, as far as the budget
// allows, and unless `pastFolders` never past a subfolder: everything before
// a subfolder is then written before the subfolder is listed, as in a scan
// of one file at a time.
void PrepareAheadInFrame(Scan& scan, Frame& frame, bool pastFolders, bool walkedFolder) {
  frame.ahead = std::max(frame.ahead, frame.next);
  const auto entryAt = [&frame](size_t index) { return std::pair{frame.items[index].step, frame.items[index].size}; };
  for (;;) {
    const BatchPlan plan = PlanBatch(frame.ahead, frame.items.size(), pastFolders, entryAt);
    if (plan.members.empty()) {
      frame.ahead = plan.end;
      return;
    }
    if (!MayQueueBatch(scan.held, plan.bytes, MostBatchesAhead(Preparers(scan), walkedFolder)) ||
        !PrepareAhead(scan, frame, plan.members, plan.bytes))
      return;
    frame.ahead = plan.end;
  }
}

// Returns the folder that the walk enters next: the first subfolder after
// the turn in the folder being walked, else in a folder further up.
Item* FindNextFolder(std::vector<Frame>& stack) {
  for (auto frame = stack.rbegin(); frame != stack.rend(); ++frame) {
    for (size_t index = frame->next; index < frame->items.size(); ++index) {
      if (frame->items[index].step == Step::Descend)
        return &frame->items[index];
    }
  }
  return nullptr;
}

// Once every file of the folder being walked is queued, has a worker list
// the folder the walk enters next, so that the threads prepare its files
// while this folder's last ones take their turns; otherwise every folder
// would start with the threads idle, and this thread would look at each of
// its entries. The listing goes ahead of the queued files: behind them, its
// files could only be queued once the threads had run out of work. Without
// the memory to queue it, the folder is listed in turn.
void ListNextFolder(Scan& scan, std::vector<Frame>& stack) {
  if (scan.nextFolder || scan.noFolderLeft || stack.back().ahead < stack.back().items.size())
    return;
  scan.nextFolder = FindNextFolder(stack);
  // Folders are entered only by the walk, so none turns up later.
  scan.noFolderLeft = scan.nextFolder == nullptr;
  if (!scan.nextFolder)
    return;
  try {
    auto ahead = std::make_unique<ListedAhead>();
    auto promise = std::make_shared<std::promise<std::optional<std::vector<FolderEntry>>>>();
    ahead->entries = promise->get_future();
    const bool queued = scan.pool->QueueFirst([promise, folder = scan.nextFolder->path, fs = scan.run.fs] {
      try {
        std::vector<FolderEntry> entries;
        promise->set_value(fs->ListFolder(folder, entries) ? std::optional(std::move(entries)) : std::nullopt);
      } catch (...) {
        promise->set_exception(std::current_exception());
      }
    });
    if (queued)
      scan.nextFolder->listed = std::move(ahead);
  } catch (...) {
  }
}

// Returns the plan of the folder listed ahead, made once its listing is in
// (waiting for it when asked to); none while it isn't, or when the listing
// failed, which leaves the folder to be listed in its turn.
Frame* PlannedAhead(Scan& scan, Item& folder, bool wait) {
  ListedAhead& ahead = *folder.listed;
  if (!ahead.taken) {
    if (!wait && ahead.entries.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
      return nullptr;
    ahead.taken = true;
    try {
      if (std::optional<std::vector<FolderEntry>> entries = ahead.entries.get())
        ahead.frame = PlanListing(scan, folder.path, *entries);
    } catch (...) {
      ahead.frame.reset();
    }
  }
  return ahead.frame.get();
}

// Prepares ahead in the folder being walked. A catalogue or a test run
// writes nothing before the scan ends, so its files may also be read past
// subfolders, in the folders further up the walk (a large file alone
// between two subfolders would otherwise leave every other thread idle),
// and in the folder the walk enters next; those take at most one batch a
// thread, which leaves room for the folder being walked. Nothing is queued
// until half of what may be held has been taken, so that a sleeping worker
// is woken for several batches, not one.
void PrepareAheadOfTurn(Scan& scan, std::vector<Frame>& stack) {
  if (scan.held.batches > MostBatchesAhead(Preparers(scan), true) / 2)
    return;
  const bool pastFolders = scan.writesNothing;
  PrepareAheadInFrame(scan, stack.back(), pastFolders, true);
  if (!scan.writesNothing)
    return;
  for (auto below = std::next(stack.rbegin()); below != stack.rend(); ++below)
    PrepareAheadInFrame(scan, *below, pastFolders, false);
  ListNextFolder(scan, stack);
  if (scan.nextFolder && scan.nextFolder->listed) {
    if (Frame* planned = PlannedAhead(scan, *scan.nextFolder, false))
      PrepareAheadInFrame(scan, *planned, pastFolders, false);
  }
}

// Prepares the batch on this thread, into `prepared`; none after a failure.
void PrepareHere(Scan& scan, Batch& batch) {
  try {
    batch.prepared = PrepareBatch(batch, scan.settings, *scan.run.fs);
  } catch (...) {
    batch.prepared.clear();
  }
  batch.preparedHere = true;
}

// Until a worker has the batch ready, prepares here the batches that no
// worker has started, the batch itself first: this thread would otherwise
// sleep until a worker wakes it, once for every batch, and leave its core to
// a worker that it then takes back.
void HelpUntilReady(Scan& scan, Batch& batch) {
  if (!batch.started.exchange(true)) {
    PrepareHere(scan, batch);
    return;
  }
  for (const std::shared_ptr<Batch>& held : scan.queued) {
    if (batch.preparedHere || batch.future.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
      return;
    if (!held->started.exchange(true))
      PrepareHere(scan, *held);
  }
}

// Takes the batch out of what the scan holds ahead, once its turn has come
// or its plan no longer holds.
void StopHolding(Scan& scan, Batch& batch) {
  batch.taken = true;
  --scan.held.batches;
  scan.held.bytes -= batch.bytes;
  std::erase_if(scan.queued, [&](const std::shared_ptr<Batch>& held) { return held.get() == &batch; });
}

// Returns what was prepared ahead; none when preparing failed (out of
// memory, say), so that the file is prepared again in its turn, with what
// that prints and the exit code it gives in a scan of one file at a time.
std::unique_ptr<PreparedConversion> TakePrepared(Scan& scan, Item& item) {
  Batch& batch = *item.batch;
  if (!batch.taken) {
    StopHolding(scan, batch);
    if (scan.writesNothing)
      HelpUntilReady(scan, batch);
    if (!batch.preparedHere) {
      try {
        batch.prepared = batch.future.get();
      } catch (...) {
      }
    }
  }
  std::unique_ptr<PreparedConversion> prepared;
  if (item.slot < batch.prepared.size())
    prepared = std::move(batch.prepared[item.slot]);
  item.batch.reset();
  return prepared;
}

void ConvertInTurn(Scan& scan, Item& item) {
  ConsoleLog::Instance() << "[Apply] " << Escaped{item.path} << "\n";
  std::unique_ptr<PreparedConversion> prepared;
  if (item.batch)
    prepared = TakePrepared(scan, item);
  const bool converted = prepared ? CommitConversion(*prepared, scan.settings, scan.run)
                                  : ConvertFile(item.path, scan.settings, scan.run, PipeWait::Never, item.id);
  if (!converted)
    scan.succeeded = false;
}

// Lets go of the files prepared ahead for a plan that no longer holds.
void DropPrepared(Scan& scan, Frame& frame) {
  for (Item& item : frame.items) {
    if (item.batch && !item.batch->taken)
      StopHolding(scan, *item.batch);
  }
}

// Puts the folder's entries on top of the stack, as listed ahead when that
// plan still holds, unless the walk has been there before (through a link)
// or the folder can't be opened. The files to convert become the run's scan
// inputs, which no output may replace.
void EnterFolder(Scan& scan, const std::string& folder, std::unique_ptr<Frame> listed, std::vector<Frame>& stack) {
  const std::optional<FileId> id = scan.run.fs->IdentityOf(folder);
  const bool again = id && !scan.entered.insert(*id).second;
  if (listed && (again || !StillPlanned(scan, *listed))) {
    DropPrepared(scan, *listed);
    listed.reset();
  }
  if (again)
    return;
  // The whole listing is taken before anything is converted, so files that
  // the conversions write into this folder are never picked up again.
  if (!listed && !(listed = PlanFolder(scan, folder))) {
    scan.succeeded = ReportError("Can't open folder: ", folder);
    return;
  }
  for (const Item& item : listed->items) {
    if (item.step == Step::Convert && item.id)
      scan.run.scanInputs.insert(*item.id);
  }
  // Adding, removing or renaming an entry changes the folder's time.
  scan.run.dependencies.AddPrerequisite(folder);
  stack.push_back(std::move(*listed));
}

// Walks the whole tree, depth first in byte order. The folders being walked
// are kept on a stack of their own rather than the thread's, whose size
// would otherwise bound the depth of the tree.
void WalkTree(Scan& scan, const std::string& root) {
  std::vector<Frame> stack;
  EnterFolder(scan, root, nullptr, stack);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.items.size()) {
      stack.pop_back();
      continue;
    }
    if (scan.pool)
      PrepareAheadOfTurn(scan, stack);
    Item& item = stack.back().items[stack.back().next++];
    switch (item.step) {
      case Step::Skip:
        ConsoleLog::Instance() << ConsoleColour(Colour::Dim) << "[Skip] " << Escaped{item.path} << item.reason << "\n";
        break;
      case Step::Descend: {
        if (&item == scan.nextFolder)
          scan.nextFolder = nullptr;
        std::unique_ptr<Frame> planned;
        if (item.listed && PlannedAhead(scan, item, true))
          planned = std::move(item.listed->frame);
        item.listed.reset();
        EnterFolder(scan, item.path, std::move(planned), stack);
        break;
      }
      case Step::Convert: ConvertInTurn(scan, item); break;
    }
  }
}

}  // namespace

bool ScanFolder(const std::string& folder, const ConversionSettings& settings, RunState& run) {
  ConversionSettings scanned = settings;
  scanned.scanFolder = folder;
  Scan scan{scanned, run, settings.scanTag.value_or(""), "", {}, nullptr};
  scan.writesNothing = settings.testMode || GoesIntoCatalogue(settings);
  const std::optional<std::string> root = run.fs->CanonicalPath(folder);
  scan.rootPrefix = StripTrailingSeparators(root.value_or(folder)) + kPathSeparator;
  // Should no worker start, nothing is queued and each file is prepared in
  // its turn.
  // A scan that writes nothing has little to do in each file's turn, so this
  // thread prepares files too and counts as one of the threads; a scan that
  // writes keeps this thread for its writes, which the file system bounds.
  if (run.scanThreads > 1)
    scan.pool = std::make_unique<WorkerPool>(run.scanThreads - (scan.writesNothing ? 1 : 0), run.startThread);
  WalkTree(scan, folder);
  return scan.succeeded;
}
