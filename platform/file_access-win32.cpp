#include "platform/file_access.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid())
      CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now and tells whether the close succeeded.
  bool Close() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// Other programs may read, write and even delete the file while it is open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenForReading(const char* path) {
  return CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads up to `length` bytes; returns how many were read before the end of
// the file, or -1 on an error.
int64_t ReadFully(HANDLE file, unsigned char* into, uint64_t length) {
  uint64_t done = 0;
  while (done < length) {
    DWORD want = static_cast<DWORD>(std::min<uint64_t>(length - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file, into + done, want, &got, nullptr)) {
      if (GetLastError() == ERROR_BROKEN_PIPE)
        break;
      return -1;
    }
    if (got == 0)
      break;
    done += got;
  }
  return static_cast<int64_t>(done);
}

bool WriteFully(HANDLE file, const char* bytes, size_t length) {
  while (length > 0) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(file, bytes, want, &put, nullptr) || put == 0)
      return false;
    bytes += put;
    length -= put;
  }
  return true;
}

FileReader ReaderOf(HANDLE file) {
  return [file](unsigned char* into, size_t length) { return ReadFully(file, into, length); };
}

std::string FolderOf(const std::string& path) {
  size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos)
    return ".";
  return path.substr(0, separator + 1 == path.size() ? separator + 1 : separator);
}

bool Identify(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
  Handle file(CreateFileA(path, FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.valid() && GetFileInformationByHandle(file.get(), &info);
}

}  // namespace

bool FileExists(const char* path) {
  if (!path || !*path) {
    ReportEmptyPath(path ? path : "");
    return false;
  }
  // A folder can't be opened this way, so it never counts as a file.
  Handle file(OpenForReading(path));
  return file.valid();
}

bool ReadWholeFile(const char* path, ByteBuffer& output) {
  Handle file(OpenForReading(path));
  if (!file.valid())
    return false;
  if (GetFileType(file.get()) != FILE_TYPE_DISK)
    return ReadUntilEnd(ReaderOf(file.get()), path, output);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) {
    ReportLengthFailure(path, -1, false);
    return false;
  }
  const uint64_t length = static_cast<uint64_t>(size.QuadPart);
  if (length > SIZE_MAX || length > PhysicalMemoryBytes())
    throw std::bad_alloc();
  unsigned char* into = output.Allocate(static_cast<size_t>(length));
  if (ReadFully(file.get(), into, length) != static_cast<int64_t>(length)) {
    ReportShortRead(path);
    return false;
  }
  return true;
}

FileComparison CompareWithFile(const char* path, ContentPieces& content) {
  if (!FileExists(path))
    return FileComparison::Absent;
  Handle file(OpenForReading(path));
  LARGE_INTEGER size;
  if (!file.valid())
    return FileComparison::Absent;
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size) ||
      static_cast<uint64_t>(size.QuadPart) != content.size)
    return FileComparison::Different;
  return CompareWithReader(ReaderOf(file.get()), content);
}

bool WriteWholeFile(const char* path, ContentPieces& content) {
  if (!path) {
    ReportAbsentPath();
    return false;
  }
  // An existing target must be a file that could be opened for writing:
  // the move below would otherwise replace a read-only file.
  const DWORD attributes = GetFileAttributesA(path);
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
      return false;
    Handle probe(CreateFileA(path, GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.valid())
      return false;
  }

  static unsigned counter = 0;
  const std::string folder = FolderOf(path);
  const std::string joint = folder.back() == '\\' || folder.back() == '/' ? "" : "\\";
  std::string temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = folder + joint + ".hexloom-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter++) + ".tmp";
    created = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
      return false;
  }
  if (created == INVALID_HANDLE_VALUE)
    return false;
  Handle file(created);
  bool written = ForEachPiece(content, [&](const char* piece, size_t length) {
    return WriteFully(file.get(), piece, length);
  });
  if (!written) {
    ReportWriteFailure(path);
    file.Close();
    DeleteFileA(temporary.c_str());
    return false;
  }
  if (!file.Close() || !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  if (exists)
    SetFileAttributesA(path, attributes);
  return true;
}

bool CanWriteFile(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
      return false;
    Handle probe(CreateFileA(path, GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.valid();
  }
  const DWORD folder = GetFileAttributesA(FolderOf(path).c_str());
  return folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t PhysicalMemoryBytes() {
  MEMORYSTATUSEX status;
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status))
    return UINT64_MAX;
  return status.ullTotalPhys;
}
