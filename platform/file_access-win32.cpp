#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/file_access.h"
#include "platform/file_primitives.h"

namespace {

// Other programs may read, write and even delete the file while it is open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// ReadFile and WriteFile move at most a DWORD at a time; a gibibyte is a
// round amount below that.
constexpr size_t kLargestCall = size_t{1} << 30;

HANDLE Native(const FileHandle& file) {
  return reinterpret_cast<HANDLE>(file.native());
}

FileHandle Wrap(HANDLE handle) {
  return FileHandle(reinterpret_cast<intptr_t>(handle));
}

FileHandle OpenExisting(const char* path, DWORD access) {
  return Wrap(CreateFileA(path, access, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The answer of GetFinalPathNameByHandle carries the long-path prefix,
// which not every call takes.
std::string WithoutLongPathPrefix(const std::string& path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0)
    return "\\\\" + path.substr(8);
  if (path.rfind("\\\\?\\", 0) == 0)
    return path.substr(4);
  return path;
}

}  // namespace

bool CloseNative(intptr_t native) {
  return CloseHandle(reinterpret_cast<HANDLE>(native)) != 0;
}

// A folder can't be opened this way, so it never reads as a file.
FileHandle OpenForReading(const char* path, PipeWait) {
  return OpenExisting(path, GENERIC_READ);
}

FileHandle OpenForWriting(const std::string& path) {
  return OpenExisting(path.c_str(), GENERIC_WRITE);
}

FileHandle CreateNewFile(const std::string& path, bool& taken) {
  // Delete sharing lets an interruption remove it while it is open.
  HANDLE created =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  taken = created == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS;
  return Wrap(created);
}

FileHandle OpenScratchFile() {
  char folder[MAX_PATH + 1];
  char name[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH || !GetTempFileNameA(folder, "hxl", 0, name))
    return FileHandle();
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    DeleteFileA(name);
  return Wrap(file);
}

bool StatusOf(const FileHandle& file, FileStatus& status) {
  if (GetFileType(Native(file)) != FILE_TYPE_DISK) {
    status = {FileKind::Other, 0};
    return true;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(Native(file), &size))
    return false;
  status = {FileKind::Regular, static_cast<uint64_t>(size.QuadPart)};
  return true;
}

// Pipes opened here already wait for their data.
void WaitForData(const FileHandle&) {}

// Windows reads ahead on its own for files read front to back.
void AdviseSequential(const FileHandle&) {}

// Windows reads whole files into memory; mapping is left to POSIX.
int64_t ReadFully(const FileHandle& file, unsigned char* into, size_t length, size_t enough) {
  size_t done = 0;
  while (done < length && done < enough) {
    DWORD want = static_cast<DWORD>(std::min(length - done, kLargestCall));
    DWORD got = 0;
    if (!ReadFile(Native(file), into + done, want, &got, nullptr)) {
      // A pipe whose writer has gone has ended.
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

bool WriteFully(const FileHandle& file, const char* bytes, size_t length) {
  while (length > 0) {
    DWORD want = static_cast<DWORD>(std::min(length, kLargestCall));
    DWORD put = 0;
    if (!WriteFile(Native(file), bytes, want, &put, nullptr) || put == 0)
      return false;
    bytes += put;
    length -= put;
  }
  return true;
}

bool LockForRewrite(const FileHandle& file) {
  OVERLAPPED whole{};
  return LockFileEx(Native(file), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

bool Rewind(const FileHandle& file) {
  LARGE_INTEGER start{};
  return SetFilePointerEx(Native(file), start, nullptr, FILE_BEGIN) != 0;
}

bool CutAt(const FileHandle& file, uint64_t length) {
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(length);
  return SetFilePointerEx(Native(file), end, nullptr, FILE_BEGIN) && SetEndOfFile(Native(file));
}

uint64_t LinkCountOf(const FileHandle& file) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileInformationByHandle(Native(file), &info) ? info.nNumberOfLinks : 0;
}

// The file a symbolic link leads to; the path itself when it is no link or
// its link leads nowhere (a write then fails).
namespace {

void FollowLinks(const char* path, std::string& target) {
  target = path;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return;
  FileHandle file = Wrap(CreateFileA(path, 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  char final[MAX_PATH + 1];
  const DWORD length =
      file.valid() ? GetFinalPathNameByHandleA(Native(file), final, sizeof final, FILE_NAME_NORMALIZED) : 0;
  if (length > 0 && length < sizeof final)
    target = WithoutLongPathPrefix(std::string(final, length));
}

TargetState LookAtTarget(const std::string& target, KeptAttributes& kept) {
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // A missing folder answers "path not found".
    return GetLastError() == ERROR_FILE_NOT_FOUND ? TargetState::Missing : TargetState::Refused;
  }
  kept.bits = attributes;
  // The move would otherwise replace a read-only file.
  return attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY) ? TargetState::Refused
                                                                           : TargetState::Writable;
}

}  // namespace

TargetState FindTarget(const char* path, std::string& target, KeptAttributes& kept) {
  FollowLinks(path, target);
  return LookAtTarget(target, kept);
}

bool FolderTakesNewFiles(const std::string&) {
  return true;
}

// A new file gets its owner from the folder's rights.
bool TakeOverOwner(const FileHandle&, const KeptAttributes&) {
  return true;
}

void RestoreAttributes(const std::string& target, const KeptAttributes& kept) {
  SetFileAttributesA(target.c_str(), kept.bits);
}

bool MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void RemoveFile(const std::string& path) {
  DeleteFileA(path.c_str());
}

uint64_t ProcessNumber() {
  return GetCurrentProcessId();
}

uint64_t MemoryLimitBytes() {
  // A job object's limit is not looked at: the machine's memory bounds it.
  return PhysicalMemoryBytes();
}

uint64_t PhysicalMemoryBytes() {
  MEMORYSTATUSEX status;
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status))
    return UINT64_MAX;
  return status.ullTotalPhys;
}
