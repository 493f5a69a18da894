#include "platform/folder.h"

#include <windows.h>

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE)
    return false;
  do {
    entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return true;
}

bool GetFolderId(const std::string& folder, FolderId& id) {
  // Opened without FILE_FLAG_OPEN_REPARSE_POINT, so a junction or link
  // gives the identity of the folder that it leads to.
  HANDLE handle = CreateFileA((folder + "\\").c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!known)
    return false;
  id.device = info.dwVolumeSerialNumber;
  id.index = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return true;
}
