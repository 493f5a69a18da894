#include "platform/file_identity.h"

#include <windows.h>

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

// Opening the path is the one look Windows gives; whether nothing goes by
// the name is left to the write's own checks.
PathLook LookAtPath(const std::string& path) {
  return {IdentityOfPath(path), false};
}
