#include "convert/scan_folder.h"

#include <cctype>
#include <set>
#include <vector>

#include "app/options.h"
#include "app/settings.h"
#include "convert/convert_file.h"
#include "platform/console_log.h"
#include "platform/folder.h"
#include "platform/path.h"

namespace {

std::string LowercaseAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void ReportUnopenableFolder(const std::string& folder) {
  ConsoleLog::Instance() << ConsoleColour(12) << " [ERROR] " << "Can't open folder: " << folder << "\n" << "\n";
  g_settings.exitCode = -1;
}

// `entered` holds every folder this scan went into, so that links leading
// back into the tree end the walk instead of repeating it.
void ScanFolderOnce(const std::string& folder, std::set<FolderId>& entered) {
  FolderId id;
  if (GetFolderId(folder, id) && !entered.insert(id).second)
    return;
  // The whole listing is taken before anything is converted, so files that
  // the conversions write into this folder are never picked up again.
  std::vector<FolderEntry> entries;
  if (!ListFolder(folder, entries)) {
    ReportUnopenableFolder(folder);
    return;
  }
  const std::string tag = g_settings.scanTag ? g_settings.scanTag : "";
  for (const FolderEntry& entry : entries) {
    if (entry.name == "." || entry.name == "..")
      continue;
    const std::string path = folder + kPathSeparator + entry.name;
    if (entry.isDirectory) {
      if (entry.name[0] != '.')
        ScanFolderOnce(path, entered);
      continue;
    }
    if (LowercaseAscii(entry.name).find(tag) != std::string::npos) {
      ConsoleLog::Instance() << "[Apply] " << path << "\n";
      ConvertFile(path.c_str());
    } else {
      ConsoleLog::Instance() << ConsoleColour(8) << "[Skip] " << folder << std::string(1, kPathSeparator)
                             << entry.name << "\n";
    }
  }
}

}  // namespace

void ScanFolder(const std::string& folder) {
  std::set<FolderId> entered;
  ScanFolderOnce(folder, entered);
}

void HandleScanOption() {
  ++g_settings.argIndex;
  if (g_settings.argIndex >= g_settings.argCount - 1) {
    ReportOptionError("Parse folder parameters are missing: -p c:\\yourFolder tag");
    return;
  }
  g_settings.lastInputPath = nullptr;
  std::string folder = g_settings.argValues[g_settings.argIndex++];
  g_settings.scanTag = g_settings.argValues[g_settings.argIndex++];
  for (char* c = g_settings.scanTag; *c; ++c)
    *c = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  while (!folder.empty() && folder.back() == kPathSeparator)
    folder.pop_back();
  ScanFolder(folder);
}
