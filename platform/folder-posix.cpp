#include "platform/folder.h"

#include <dirent.h>
#include <sys/stat.h>

namespace {

EntryKind KindOf(const struct stat& info) {
  if (S_ISREG(info.st_mode))
    return EntryKind::File;
  if (S_ISDIR(info.st_mode))
    return EntryKind::Folder;
  return EntryKind::Other;
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  const std::string prefix = folder + "/";
  DIR* dir = opendir(prefix.c_str());
  if (!dir)
    return false;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    FolderEntry item{name, EntryKind::File, false};
    struct stat info;
    const std::string path = prefix + name;
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
      item.isLink = true;
      // A link that leads nowhere is neither a file nor a folder.
      item.kind = stat(path.c_str(), &info) == 0 ? KindOf(info) : EntryKind::Other;
    } else if (entry->d_type == DT_DIR) {
      item.kind = EntryKind::Folder;
    } else if (entry->d_type == DT_REG) {
      item.kind = EntryKind::File;
    } else {
      item.kind = stat(path.c_str(), &info) == 0 ? KindOf(info) : EntryKind::Other;
    }
    entries.push_back(std::move(item));
  }
  closedir(dir);
  return true;
}
