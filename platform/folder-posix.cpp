#include "platform/folder.h"

#include <dirent.h>
#include <fcntl.h>
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
  // Entries are looked at relative to the open folder: the path is not
  // walked again for each of them.
  const int folderFd = dirfd(dir);
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    FolderEntry item{name, EntryKind::File, false, std::nullopt, std::nullopt};
    struct stat info;
    bool known = fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    if (known && S_ISLNK(info.st_mode)) {
      item.isLink = true;
      // A link that leads nowhere is neither a file nor a folder.
      known = fstatat(folderFd, name.c_str(), &info, 0) == 0;
    }
    if (known) {
      item.kind = KindOf(info);
      item.id = FileId{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
      if (item.kind == EntryKind::File)
        item.size = static_cast<uint64_t>(info.st_size);
    } else {
      // Gone since it was listed, most likely; the listing's word stands.
      item.kind = item.isLink               ? EntryKind::Other
                  : entry->d_type == DT_DIR ? EntryKind::Folder
                  : entry->d_type == DT_REG ? EntryKind::File
                                            : EntryKind::Other;
    }
    entries.push_back(std::move(item));
  }
  closedir(dir);
  return true;
}
