#include "platform/file_access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/interrupt.h"

namespace {

// Files at least this large are mapped rather than copied: hashing a large
// file then starts at once instead of after a copy and page faults.
constexpr size_t kMapThreshold = 1 << 20;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0)
      close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and tells whether the close succeeded.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

// Opened non-blocking unless asked to wait, so that a FIFO without a writer
// (met by a folder scan, or in the way of an output) never hangs the run: it
// reads as empty. An input named on the command line waits, as `cat` does.
int OpenForReading(const char* path, PipeWait wait = PipeWait::Never) {
  const int flags = O_RDONLY | O_CLOEXEC | (wait == PipeWait::Never ? O_NONBLOCK : 0);
  int fd;
  do {
    fd = open(path, flags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Reads up to `length` bytes; returns how many were read before end of
// file, or -1 on an error.
ssize_t ReadFully(int fd, unsigned char* into, size_t length) {
  size_t done = 0;
  while (done < length) {
    ssize_t got = read(fd, into + done, length - done);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return -1;
    if (got == 0)
      break;
    done += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

bool WriteFully(int fd, const char* bytes, size_t length) {
  while (length > 0) {
    ssize_t put = write(fd, bytes, length);
    if (put < 0 && errno == EINTR)
      continue;
    if (put <= 0)
      return false;
    bytes += put;
    length -= static_cast<size_t>(put);
  }
  return true;
}

// A mapped input that another program truncates while it is read raises
// SIGBUS; end with a clear message instead of a crash.
void OnBusError(int) {
  static const char message[] = "\n [ERROR] An input file was truncated by another program while it was being read\n\n";
  ssize_t ignored = write(STDOUT_FILENO, message, sizeof message - 1);
  (void)ignored;
  _exit(255);
}

void GuardMappedReads() {
  // Installed once, whichever thread maps first.
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = OnBusError;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGBUS, &action, nullptr) == 0;
  }();
  (void)installed;
}

void ReleaseMapping(const unsigned char* base, size_t length) {
  munmap(const_cast<unsigned char*>(base), length);
}

FileReader ReaderOf(int fd) {
  return [fd](unsigned char* into, size_t length) -> int64_t { return ReadFully(fd, into, length); };
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return path.substr(0, slash);
}

// Linux gives up on a path after this many symbolic links.
constexpr int kMaxLinkHops = 40;

// Bytes moved at a time when a staged text is copied over its target.
constexpr size_t kCopyChunk = 1 << 16;

// Follows symbolic links from `path` to the last name of the chain, which
// may be missing: a dangling link leads to the file a write creates.
bool FollowLinks(const char* path, std::string& target) {
  target = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return true;
    char link[PATH_MAX];
    ssize_t length = readlink(target.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<size_t>(length) == sizeof link)
      return false;
    std::string next(link, static_cast<size_t>(length));
    // A relative link is read from the link's own folder.
    if (next[0] != '/') {
      const std::string folder = FolderOf(target);
      next = (folder == "/" ? "" : folder) + "/" + next;
    }
    target = next;
  }
  return false;
}

enum class WriteWay {
  Impossible,  // the write would fail
  Replace,     // a new file in the target's folder is renamed over it
  InPlace,     // the existing file itself is rewritten
};

struct WritePlan {
  WriteWay way = WriteWay::Impossible;
  std::string target;  // the file written, symbolic links followed
  bool exists = false;
  struct stat info {};  // the existing target's
};

// Decides how a write to `path` goes, without touching anything.
WritePlan PlanWrite(const char* path) {
  WritePlan plan;
  const size_t length = std::strlen(path);
  if (length == 0 || path[length - 1] == '/' || !FollowLinks(path, plan.target))
    return plan;
  const std::string folder = FolderOf(plan.target);
  const bool folderWritable = faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
  plan.exists = lstat(plan.target.c_str(), &plan.info) == 0;
  if (!plan.exists) {
    if (errno == ENOENT && folderWritable)
      plan.way = WriteWay::Replace;
    return plan;
  }
  // Folders, devices and pipes are never output files.
  if (!S_ISREG(plan.info.st_mode))
    return plan;
  Descriptor probe(open(plan.target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
  if (!probe.valid())
    return plan;
  // A new file would cut the other hard links off, or could not be made.
  // (One that can't get the old owner and group is found out when made.)
  plan.way = folderWritable && plan.info.st_nlink == 1 ? WriteWay::Replace : WriteWay::InPlace;
  return plan;
}

// An unnamed file in the system's temporary folder, gone once closed.
int OpenScratchFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string name = std::string(folder && *folder ? folder : "/tmp") + "/.hexloom-XXXXXX";
  int fd = mkstemp(name.data());
  if (fd >= 0)
    unlink(name.c_str());
  return fd;
}

// The whole text is made before the target is opened, since making it may
// fail; the old bytes are then overwritten front to back and the file cut
// to the new length last, so that what is left of the old text survives
// longest. A failure part way leaves a damaged target: no other way keeps
// the file's links, owner or place.
bool RewriteInPlace(const char* path, const std::string& target, ContentPieces& content) {
  Descriptor staged(OpenScratchFile());
  if (!staged.valid())
    return false;
  uint64_t length = 0;
  bool made = ForEachPiece(content, [&](const char* piece, size_t size) {
    length += size;
    return WriteFully(staged.get(), piece, size);
  });
  if (!made || lseek(staged.get(), 0, SEEK_SET) != 0) {
    ReportWriteFailure(path);
    return false;
  }
  Descriptor file(open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.valid())
    return false;
  // Another run rewriting the same file waits for this one to end, so that
  // the file holds one whole text or the other, never a mix. An interruption
  // waits too: the target is never left half old, half new.
  while (flock(file.get(), LOCK_EX) != 0 && errno == EINTR)
    continue;
  const Uninterruptible holdInterrupts;
  std::vector<unsigned char> chunk(kCopyChunk);
  ssize_t got;
  bool copied = true;
  while (copied && (got = ReadFully(staged.get(), chunk.data(), chunk.size())) > 0)
    copied = WriteFully(file.get(), reinterpret_cast<const char*>(chunk.data()), static_cast<size_t>(got));
  if (!copied || got < 0 || ftruncate(file.get(), static_cast<off_t>(length)) != 0 || !file.Close()) {
    ReportWriteFailure(path);
    return false;
  }
  return true;
}

// Writes a new file beside the target and renames it over the target, so
// that a failure leaves the old file whole.
bool ReplaceFile(const char* path, const WritePlan& plan, ContentPieces& content) {
  static std::atomic<unsigned> counter = 0;
  const std::string folder = FolderOf(plan.target);
  std::string temporary;
  // Marked before it exists (the name holds this process's id, so no other
  // file goes by it), so that no moment leaves it behind after a signal.
  std::optional<RemovedOnInterrupt> marked;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = folder + "/.hexloom-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
    marked.emplace(temporary);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST)
      return false;
  }
  if (fd < 0)
    return false;
  Descriptor file(fd);
  // Whatever ends this call early, an exception included, removes the
  // temporary; the rename clears the name.
  std::unique_ptr<const char, void (*)(const char*)> removal(temporary.c_str(), [](const char* name) { unlink(name); });
  if (plan.exists) {
    // The owner goes first: changing it clears the set-user and set-group
    // bits. A user who may write someone else's file (or one of a group
    // the user is not in) can't give a new file its owner, and so rewrites
    // the file itself.
    if (fchown(file.get(), plan.info.st_uid, plan.info.st_gid) != 0) {
      file.Close();
      unlink(removal.release());
      return RewriteInPlace(path, plan.target, content);
    }
    fchmod(file.get(), plan.info.st_mode & 07777);
  }
  bool written =
      ForEachPiece(content, [&](const char* piece, size_t length) { return WriteFully(file.get(), piece, length); });
  if (!written) {
    ReportWriteFailure(path);
    return false;
  }
  if (!file.Close() || rename(temporary.c_str(), plan.target.c_str()) != 0)
    return false;
  removal.release();
  return true;
}

}  // namespace

bool FileExists(const char* path) {
  if (!path || !*path) {
    ReportEmptyPath(path ? path : "");
    return false;
  }
  Descriptor file(OpenForReading(path));
  if (!file.valid())
    return false;
  struct stat info;
  return fstat(file.get(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool ReadWholeFile(const char* path, ByteBuffer& output, PipeWait wait) {
  Descriptor file(OpenForReading(path, wait));
  if (!file.valid())
    return false;
  struct stat info;
  if (fstat(file.get(), &info) != 0) {
    ReportLengthFailure(path, -1, false);
    return false;
  }
  if (S_ISDIR(info.st_mode))
    return false;
  if (!S_ISREG(info.st_mode)) {
    // A pipe with a writer is read to its end, waiting for its data.
    fcntl(file.get(), F_SETFL, fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return ReadUntilEnd(ReaderOf(file.get()), path, output);
  }

  // A mapping could outgrow memory without complaint; the file is meant to
  // be held whole, so what memory can't hold is refused.
  const uint64_t length = static_cast<uint64_t>(info.st_size);
  if (length > SIZE_MAX || length > PhysicalMemoryBytes())
    throw std::bad_alloc();
  if (length >= kMapThreshold) {
    void* base = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file.get(), 0);
    if (base != MAP_FAILED) {
      GuardMappedReads();
      madvise(base, length, MADV_SEQUENTIAL);
      madvise(base, length, MADV_WILLNEED);
      output.AdoptMapping(static_cast<const unsigned char*>(base), length, ReleaseMapping);
      return true;
    }
  }
  // Files of /proc and /sys report a size of 0 or of a page, whatever they
  // hold: the size is only where reading starts.
  return ReadUntilEnd(ReaderOf(file.get()), path, output, length);
}

ReadResult ReadFileInBlocks(const char* path, PipeWait wait, const BlockConsumer& consume) {
  Descriptor file(OpenForReading(path, wait));
  struct stat info;
  if (!file.valid() || fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode))
    return ReadResult::CantOpen;
  fcntl(file.get(), F_SETFL, fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
  posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  return ReadBlocksUntilEnd(ReaderOf(file.get()), consume);
}

FileComparison CompareWithFile(const char* path, ContentPieces& content) {
  if (!FileExists(path))
    return FileComparison::Absent;
  Descriptor file(OpenForReading(path));
  struct stat info;
  if (!file.valid() || fstat(file.get(), &info) != 0)
    return FileComparison::Absent;
  // Devices and pipes are never output files; the writer refuses them.
  if (!S_ISREG(info.st_mode) || static_cast<uint64_t>(info.st_size) != content.size)
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
  uint64_t limit = PhysicalMemoryBytes();
  struct rlimit space;
  if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
    limit = std::min<uint64_t>(limit, space.rlim_cur);
  // The control group's limit: a version 2 hierarchy names the group on the
  // line "0::", a version 1 one on the line of its memory controller.
  std::ifstream groups("/proc/self/cgroup");
  for (std::string line; std::getline(groups, line);) {
    std::string file;
    if (line.rfind("0::", 0) == 0)
      file = "/sys/fs/cgroup" + line.substr(3) + "/memory.max";
    else if (const size_t memory = line.find(":memory:"); memory != std::string::npos)
      file = "/sys/fs/cgroup/memory" + line.substr(memory + 8) + "/memory.limit_in_bytes";
    std::ifstream max(file);
    uint64_t bytes;
    if (!file.empty() && max >> bytes)  // "max" means no limit
      limit = std::min(limit, bytes);
  }
  return limit;
}

uint64_t PhysicalMemoryBytes() {
  long pages = sysconf(_SC_PHYS_PAGES);
  long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0)
    return UINT64_MAX;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}
