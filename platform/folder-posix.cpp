#include "platform/folder.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  const std::string prefix = folder + "/";
  DIR* dir = opendir(prefix.c_str());
  if (!dir)
    return false;
  while (dirent* entry = readdir(dir)) {
    FolderEntry item{entry->d_name, false};
    if (entry->d_type == DT_DIR)
      item.isDirectory = true;
    else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
      item.isDirectory = IsFolder(prefix + item.name);
    entries.push_back(std::move(item));
  }
  closedir(dir);
  // readdir's order depends on the file system; byte order makes runs
  // reproducible.
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

bool GetFolderId(const std::string& folder, FolderId& id) {
  struct stat info;
  if (stat((folder + "/").c_str(), &info) != 0)
    return false;
  id.device = static_cast<uint64_t>(info.st_dev);
  id.index = static_cast<uint64_t>(info.st_ino);
  return true;
}
