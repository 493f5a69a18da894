#include "platform/folder.h"

#include <windows.h>

#include <cstdlib>

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
    FolderEntry item{name, EntryKind::File, false};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      item.kind = EntryKind::Folder;
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
      item.kind = EntryKind::Other;
    item.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entries.push_back(std::move(item));
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return true;
}

std::optional<FileId> IdentityOfPath(const std::string& path) {
  // Opened without FILE_FLAG_OPEN_REPARSE_POINT, so a junction or link
  // gives the identity of what it leads to.
  HANDLE handle =
      CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!known)
    return std::nullopt;
  return FileId{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::optional<std::string> CanonicalPathOf(const std::string& path) {
  HANDLE handle =
      CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return std::nullopt;
  char buffer[MAX_PATH * 4];
  DWORD length = GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
  CloseHandle(handle);
  if (length == 0 || length >= sizeof buffer)
    return std::nullopt;
  std::string result(buffer, length);
  // "\\?\C:\x" reads as "C:\x".
  if (result.rfind("\\\\?\\", 0) == 0)
    result.erase(0, 4);
  return result;
}

std::optional<uint64_t> SizeOfPath(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}
