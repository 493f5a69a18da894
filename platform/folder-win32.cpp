#include "platform/folder.h"

#include <windows.h>

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    // A drive root with no entries has no "." either: nothing is found, and
    // that is an empty folder, not one that can't be opened.
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..")
      continue;
    FolderEntry item{name, EntryKind::File, false, std::nullopt, std::nullopt};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      item.kind = EntryKind::Folder;
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
      item.kind = EntryKind::Other;
    item.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    // The size found is the link's own, not its target's.
    if (item.kind == EntryKind::File && !item.isLink)
      item.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    entries.push_back(std::move(item));
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return true;
}
