#include "platform/file_access.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "platform/interrupt.h"

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

// Bytes moved at a time when a staged text is copied over its target.
constexpr DWORD kCopyChunk = 1 << 16;

// The file a symbolic link leads to; the path itself when it is no link or
// its link leads nowhere (a write then fails).
std::string FollowLinks(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return path;
  Handle file(CreateFileA(path, 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  char final[MAX_PATH + 1];
  const DWORD length =
      file.valid() ? GetFinalPathNameByHandleA(file.get(), final, sizeof final, FILE_NAME_NORMALIZED) : 0;
  if (length == 0 || length >= sizeof final)
    return path;
  // The answer carries the long-path prefix, which not every call takes.
  const std::string target(final, length);
  if (target.rfind("\\\\?\\UNC\\", 0) == 0)
    return "\\\\" + target.substr(8);
  if (target.rfind("\\\\?\\", 0) == 0)
    return target.substr(4);
  return target;
}

enum class WriteWay {
  Impossible,  // the write would fail
  Replace,     // a new file in the target's folder is moved over it
  InPlace,     // the existing file itself is rewritten
};

struct WritePlan {
  WriteWay way = WriteWay::Impossible;
  std::string target;                          // the file written, symbolic links followed
  DWORD attributes = INVALID_FILE_ATTRIBUTES;  // the existing target's
};

// Decides how a write to `path` goes, without touching anything.
WritePlan PlanWrite(const char* path) {
  WritePlan plan;
  plan.target = FollowLinks(path);
  plan.attributes = GetFileAttributesA(plan.target.c_str());
  if (plan.attributes == INVALID_FILE_ATTRIBUTES) {
    // A missing folder answers "path not found".
    if (GetLastError() == ERROR_FILE_NOT_FOUND)
      plan.way = WriteWay::Replace;
    return plan;
  }
  // The move would otherwise replace a read-only file.
  if (plan.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    return plan;
  Handle probe(CreateFileA(plan.target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!probe.valid() || !GetFileInformationByHandle(probe.get(), &info))
    return plan;
  // A new file would cut the other hard links off.
  plan.way = info.nNumberOfLinks > 1 ? WriteWay::InPlace : WriteWay::Replace;
  return plan;
}

// A file in the system's temporary folder, deleted once closed.
HANDLE OpenScratchFile() {
  char folder[MAX_PATH + 1];
  char name[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH || !GetTempFileNameA(folder, "hxl", 0, name))
    return INVALID_HANDLE_VALUE;
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    DeleteFileA(name);
  return file;
}

// The whole text is made before the target is opened, since making it may
// fail; the old bytes are then overwritten front to back and the file cut
// to the new length last. A failure part way leaves a damaged target: no
// other way keeps the file's links.
bool RewriteInPlace(const char* path, const std::string& target, ContentPieces& content) {
  Handle staged(OpenScratchFile());
  if (!staged.valid())
    return false;
  bool made =
      ForEachPiece(content, [&](const char* piece, size_t length) { return WriteFully(staged.get(), piece, length); });
  LARGE_INTEGER start{};
  if (!made || !SetFilePointerEx(staged.get(), start, nullptr, FILE_BEGIN)) {
    ReportWriteFailure(path);
    return false;
  }
  Handle file(
      CreateFileA(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid())
    return false;
  // Another run rewriting the same file waits for this one to end, so that
  // the file holds one whole text or the other; so does an interruption.
  OVERLAPPED whole{};
  if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
    return false;
  const Uninterruptible holdInterrupts;
  std::vector<unsigned char> chunk(kCopyChunk);
  int64_t got;
  bool copied = true;
  while (copied && (got = ReadFully(staged.get(), chunk.data(), chunk.size())) > 0)
    copied = WriteFully(file.get(), reinterpret_cast<const char*>(chunk.data()), static_cast<size_t>(got));
  // The copy ends where the new text ends.
  if (!copied || got < 0 || !SetEndOfFile(file.get()) || !file.Close()) {
    ReportWriteFailure(path);
    return false;
  }
  return true;
}

// Writes a new file beside the target and moves it over the target, so
// that a failure leaves the old file whole.
bool ReplaceFile(const char* path, const WritePlan& plan, ContentPieces& content) {
  static std::atomic<unsigned> counter = 0;
  const std::string folder = FolderOf(plan.target);
  const std::string joint = folder.back() == '\\' || folder.back() == '/' ? "" : "\\";
  std::string temporary;
  std::optional<RemovedOnInterrupt> marked;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary =
        folder + joint + ".hexloom-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + ".tmp";
    marked.emplace(temporary);
    // Delete sharing lets an interruption remove it while it is open.
    created = CreateFileA(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
      return false;
  }
  if (created == INVALID_HANDLE_VALUE)
    return false;
  // Whatever ends this call early, an exception included, removes the
  // temporary (after its handle, declared later, is closed).
  std::unique_ptr<const char, void (*)(const char*)> removal(temporary.c_str(),
                                                             [](const char* name) { DeleteFileA(name); });
  Handle file(created);
  bool written =
      ForEachPiece(content, [&](const char* piece, size_t length) { return WriteFully(file.get(), piece, length); });
  if (!written) {
    ReportWriteFailure(path);
    return false;
  }
  if (!file.Close() || !MoveFileExA(temporary.c_str(), plan.target.c_str(), MOVEFILE_REPLACE_EXISTING))
    return false;
  removal.release();
  if (plan.attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(plan.target.c_str(), plan.attributes);
  return true;
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

bool ReadWholeFile(const char* path, ByteBuffer& output, PipeWait) {
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
  // The size is only where reading starts: the file is read to its end.
  return ReadUntilEnd(ReaderOf(file.get()), path, output, length);
}

ReadResult ReadFileInBlocks(const char* path, PipeWait, const BlockConsumer& consume) {
  Handle file(OpenForReading(path));
  if (!file.valid())
    return ReadResult::CantOpen;
  return ReadBlocksUntilEnd(ReaderOf(file.get()), consume);
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
  const WritePlan plan = PlanWrite(path);
  switch (plan.way) {
    case WriteWay::Replace: return ReplaceFile(path, plan, content);
    case WriteWay::InPlace: return RewriteInPlace(path, plan.target, content);
    case WriteWay::Impossible: break;
  }
  return false;
}

bool CanWriteFile(const char* path) {
  // The same decision that a write takes first, so that test mode foresees
  // exactly the failures a real run meets.
  return path && PlanWrite(path).way != WriteWay::Impossible;
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
