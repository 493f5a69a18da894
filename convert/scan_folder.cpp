#include "convert/scan_folder.h"

#include <algorithm>
#include <future>
#include <memory>
#include <set>
#include <vector>

#include "convert/convert_file.h"
#include "convert/report.h"
#include "convert/worker_pool.h"
#include "platform/console_log.h"
#include "platform/path.h"

namespace {

// Files prepared ahead of their turn hold their bytes until they are
// written; together they stay within this, though one file of any size may
// always be prepared alone.
constexpr uint64_t kPrepareBudgetBytes = uint64_t{256} << 20;
// Files prepared ahead per thread, however small.
constexpr size_t kAheadPerThread = 4;

using PreparedFuture = std::future<std::unique_ptr<PreparedConversion>>;

struct Scan {
  const ConversionSettings& settings;
  RunState& run;
  std::string tag;
  std::string rootPrefix;            // the scanned folder's real path and a separator
  std::set<FileId> entered;          // so that links back into the tree end the walk
  std::unique_ptr<WorkerPool> pool;  // none when files are prepared in turn
  size_t inFlight = 0;
  uint64_t inFlightBytes = 0;
  bool succeeded = true;
};

enum class Step { Descend, Skip, Convert };

struct Item {
  Step step;
  std::string path;
  const char* reason = "";  // after the path of a skipped entry
  uint64_t size = 0;        // of a file prepared ahead
  PreparedFuture prepared;
};

// A folder link is followed only where it stays inside the scanned tree: a
// link to "/" or a home folder would otherwise have outputs written all over
// the machine.
bool LeadsInside(Scan& scan, const std::string& path) {
  const std::optional<std::string> target = scan.run.fs->CanonicalPath(path);
  return target && (*target + kPathSeparator).rfind(scan.rootPrefix, 0) == 0;
}

std::vector<Item> Plan(Scan& scan, const std::string& folder, std::vector<FolderEntry>& entries) {
  // Listing order depends on the file system; byte order makes runs
  // reproducible everywhere.
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  std::vector<Item> items;
  for (const FolderEntry& entry : entries) {
    Item item{Step::Skip, JoinPath(folder, entry.name), "", 0, {}};
    if (entry.kind == EntryKind::Folder) {
      if (entry.name[0] == '.')
        continue;
      if (entry.isLink && !LeadsInside(scan, item.path))
        item.reason = " (folder link leads outside the scanned folder)";
      else
        item.step = Step::Descend;
    } else if (LowercaseAscii(entry.name).find(scan.tag) != std::string::npos) {
      if (entry.kind == EntryKind::File)
        item.step = Step::Convert;
      else
        item.reason = " (not a regular file)";
    }
    items.push_back(std::move(item));
  }
  return items;
}

bool MayPrepare(const Scan& scan, uint64_t size) {
  return scan.inFlight == 0 ||
         (scan.inFlight < kAheadPerThread * scan.run.scanThreads && scan.inFlightBytes + size <= kPrepareBudgetBytes);
}

void PrepareAhead(Scan& scan, Item& item, uint64_t size) {
  item.size = size;
  ++scan.inFlight;
  scan.inFlightBytes += item.size;
  auto promise = std::make_shared<std::promise<std::unique_ptr<PreparedConversion>>>();
  item.prepared = promise->get_future();
  scan.pool->Queue([promise, path = item.path, &settings = scan.settings, fs = scan.run.fs] {
    // What preparing prints waits for the file's turn.
    ConsoleLog::Recording console;
    ConsoleLog::Instance().RecordThisThread(&console);
    try {
      std::unique_ptr<PreparedConversion> prepared = PrepareConversion(path, settings, *fs, PipeWait::Never, true);
      ConsoleLog::Instance().RecordThisThread(nullptr);
      prepared->console = std::move(console);
      promise->set_value(std::move(prepared));
    } catch (...) {
      ConsoleLog::Instance().RecordThisThread(nullptr);
      promise->set_exception(std::current_exception());
    }
  });
}

void Convert(Scan& scan, Item& item) {
  ConsoleLog::Instance() << "[Apply] " << item.path << "\n";
  bool converted;
  if (scan.pool) {
    std::unique_ptr<PreparedConversion> prepared = item.prepared.get();
    converted = CommitConversion(*prepared, scan.settings, scan.run);
    --scan.inFlight;
    scan.inFlightBytes -= item.size;
  } else {
    converted = ConvertFile(item.path, scan.settings, scan.run, PipeWait::Never);
  }
  if (!converted)
    scan.succeeded = false;
}

void ScanOnce(Scan& scan, const std::string& folder) {
  FileSystem& fs = *scan.run.fs;
  if (const std::optional<FileId> id = fs.IdentityOf(folder); id && !scan.entered.insert(*id).second)
    return;
  // The whole listing is taken before anything is converted, so files that
  // the conversions write into this folder are never picked up again.
  std::vector<FolderEntry> entries;
  if (!fs.ListFolder(folder, entries)) {
    scan.succeeded = ReportError("Can't open folder: ", folder);
    return;
  }
  std::vector<Item> items = Plan(scan, folder, entries);
  // Files are prepared ahead only up to the next subfolder: everything
  // before it is then written before the subfolder is listed, as in a scan
  // of one file at a time.
  size_t ahead = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    for (ahead = std::max(ahead, i); scan.pool && ahead < items.size() && items[ahead].step != Step::Descend; ++ahead) {
      Item& next = items[ahead];
      if (next.step == Step::Convert) {
        const uint64_t size = fs.SizeOf(next.path).value_or(0);
        if (!MayPrepare(scan, size))
          break;
        PrepareAhead(scan, next, size);
      }
    }
    Item& item = items[i];
    switch (item.step) {
      case Step::Skip:
        ConsoleLog::Instance() << ConsoleColour(Colour::Dim) << "[Skip] " << item.path << item.reason << "\n";
        break;
      case Step::Descend: ScanOnce(scan, item.path); break;
      case Step::Convert: Convert(scan, item); break;
    }
  }
}

}  // namespace

bool ScanFolder(const std::string& folder, const ConversionSettings& settings, RunState& run) {
  Scan scan{settings, run, settings.scanTag.value_or(""), "", {}, nullptr};
  const std::optional<std::string> root = run.fs->CanonicalPath(folder);
  scan.rootPrefix = StripTrailingSeparators(root.value_or(folder)) + kPathSeparator;
  if (run.scanThreads > 1)
    scan.pool = std::make_unique<WorkerPool>(run.scanThreads);
  ScanOnce(scan, folder);
  return scan.succeeded;
}
