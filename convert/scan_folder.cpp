#include "convert/scan_folder.h"

#include <algorithm>
#include <set>
#include <vector>

#include "convert/convert_file.h"
#include "convert/report.h"
#include "platform/console_log.h"
#include "platform/path.h"

namespace {

struct Scan {
  const ConversionSettings& settings;
  RunState& run;
  std::string tag;
  std::string rootPrefix;   // the scanned folder's real path and a separator
  std::set<FileId> entered;  // so that links back into the tree end the walk
  bool succeeded = true;
};

void SkipLine(const std::string& path, const char* reason) {
  ConsoleLog::Instance() << ConsoleColour(Colour::Dim) << "[Skip] " << path << reason << "\n";
}

// A folder link is followed only where it stays inside the scanned tree: a
// link to "/" or a home folder would otherwise have outputs written all over
// the machine.
bool LeadsInside(Scan& scan, const std::string& path) {
  const std::optional<std::string> target = scan.run.fs->CanonicalPath(path);
  return target && (*target + kPathSeparator).rfind(scan.rootPrefix, 0) == 0;
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
  // Listing order depends on the file system; byte order makes runs
  // reproducible everywhere.
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  for (const FolderEntry& entry : entries) {
    const std::string path = JoinPath(folder, entry.name);
    if (entry.kind == EntryKind::Folder) {
      if (entry.name[0] == '.')
        continue;
      if (entry.isLink && !LeadsInside(scan, path))
        SkipLine(path, " (folder link leads outside the scanned folder)");
      else
        ScanOnce(scan, path);
      continue;
    }
    if (LowercaseAscii(entry.name).find(scan.tag) == std::string::npos) {
      SkipLine(path, "");
    } else if (entry.kind != EntryKind::File) {
      SkipLine(path, " (not a regular file)");
    } else {
      ConsoleLog::Instance() << "[Apply] " << path << "\n";
      if (!ConvertFile(path, scan.settings, scan.run))
        scan.succeeded = false;
    }
  }
}

}  // namespace

bool ScanFolder(const std::string& folder, const ConversionSettings& settings, RunState& run) {
  Scan scan{settings, run, settings.scanTag.value_or(""), "", {}, true};
  const std::optional<std::string> root = run.fs->CanonicalPath(folder);
  scan.rootPrefix = StripTrailingSeparators(root.value_or(folder)) + kPathSeparator;
  ScanOnce(scan, folder);
  return scan.succeeded;
}
