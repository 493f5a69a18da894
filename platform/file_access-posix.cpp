#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/file_access.h"
#include "platform/file_primitives.h"

namespace {

// Linux gives up on a path after this many symbolic links.
constexpr int kMaxLinkHops = 40;

// The rights and mode bits that a replacing file takes over.
constexpr mode_t kModeBits = 07777;

// Rights of a new file before the umask; an existing one's are taken over.
constexpr mode_t kNewFileMode = 0666;

int Fd(const FileHandle& file) {
  return static_cast<int>(file.native());
}

// Retries an open that a signal broke off.
FileHandle OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return FileHandle(fd);
}

}  // namespace

bool CloseNative(intptr_t native) {
  return close(static_cast<int>(native)) == 0;
}

// Opened non-blocking unless asked to wait, so that a FIFO without a writer
// (met by a folder scan, or in the way of an output) never hangs the run: it
// reads as empty. An input named on the command line waits, as `cat` does.
FileHandle OpenForReading(const char* path, PipeWait wait) {
  return OpenRetrying(path, O_RDONLY | (wait == PipeWait::Never ? O_NONBLOCK : 0));
}

FileHandle OpenForWriting(const std::string& path) {
  return OpenRetrying(path.c_str(), O_WRONLY | O_NONBLOCK);
}

FileHandle CreateNewFile(const std::string& path, bool& taken) {
  FileHandle file = OpenRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
  taken = !file.valid() && errno == EEXIST;
  return file;
}

FileHandle OpenScratchFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string name = std::string(folder && *folder ? folder : "/tmp") + "/.hexloom-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd >= 0)
    unlink(name.c_str());
  return FileHandle(fd);
}

bool StatusOf(const FileHandle& file, FileStatus& status) {
  struct stat info;
  if (fstat(Fd(file), &info) != 0)
    return false;
  status.kind = S_ISREG(info.st_mode) ? FileKind::Regular : S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Other;
  status.size = static_cast<uint64_t>(info.st_size);
  return true;
}

void WaitForData(const FileHandle& file) {
  fcntl(Fd(file), F_SETFL, fcntl(Fd(file), F_GETFL) & ~O_NONBLOCK);
}

void AdviseSequential(const FileHandle& file) {
  posix_fadvise(Fd(file), 0, 0, POSIX_FADV_SEQUENTIAL);
}

int64_t ReadFully(const FileHandle& file, unsigned char* into, size_t length, size_t enough) {
  size_t done = 0;
  while (done < length && done < enough) {
    ssize_t got = read(Fd(file), into + done, length - done);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return -1;
    if (got == 0)
      break;
    done += static_cast<size_t>(got);
  }
  return static_cast<int64_t>(done);
}

bool WriteFully(const FileHandle& file, const char* bytes, size_t length) {
  while (length > 0) {
    ssize_t put = write(Fd(file), bytes, length);
    if (put < 0 && errno == EINTR)
      continue;
    if (put <= 0)
      return false;
    bytes += put;
    length -= static_cast<size_t>(put);
  }
  return true;
}

// An advisory lock: every run of Hexloom takes it before a rewrite in place.
bool LockForRewrite(const FileHandle& file) {
  int locked;
  do {
    locked = flock(Fd(file), LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  return locked == 0;
}

bool Rewind(const FileHandle& file) {
  return lseek(Fd(file), 0, SEEK_SET) == 0;
}

bool CutAt(const FileHandle& file, uint64_t length) {
  return ftruncate(Fd(file), static_cast<off_t>(length)) == 0;
}

uint64_t LinkCountOf(const FileHandle& file) {
  struct stat info;
  return fstat(Fd(file), &info) == 0 ? static_cast<uint64_t>(info.st_nlink) : 0;
}

// A dangling link leads to the file a write creates. A name ending in "/"
// can only be a folder. The look that ends the walk is the target's own.
TargetState FindTarget(const char* path, std::string& target, KeptAttributes& kept) {
  target = path;
  if (target.empty() || target.back() == '/')
    return TargetState::Refused;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(target.c_str(), &info) != 0)
      return errno == ENOENT ? TargetState::Missing : TargetState::Refused;
    if (!S_ISLNK(info.st_mode)) {
      kept = {static_cast<uint32_t>(info.st_uid), static_cast<uint32_t>(info.st_gid),
              static_cast<uint32_t>(info.st_mode & kModeBits)};
      // Folders, devices and pipes are never output files.
      return S_ISREG(info.st_mode) ? TargetState::Writable : TargetState::Refused;
    }
    char link[PATH_MAX];
    ssize_t length = readlink(target.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<size_t>(length) == sizeof link)
      return TargetState::Refused;
    std::string next(link, static_cast<size_t>(length));
    // A relative link is read from the link's own folder.
    if (next[0] != '/') {
      const std::string folder = FolderOf(target);
      next = (folder == "/" ? "" : folder) + "/" + next;
    }
    target = next;
  }
  return TargetState::Refused;
}

bool FolderTakesNewFiles(const std::string& folder) {
  return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// The owner goes first: changing it clears the set-user and set-group bits.
bool TakeOverOwner(const FileHandle& fresh, const KeptAttributes& kept) {
  if (fchown(Fd(fresh), static_cast<uid_t>(kept.owner), static_cast<gid_t>(kept.group)) != 0)
    return false;
  fchmod(Fd(fresh), static_cast<mode_t>(kept.bits));
  return true;
}

void RestoreAttributes(const std::string&, const KeptAttributes&) {}

bool MoveOver(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

void RemoveFile(const std::string& path) {
  unlink(path.c_str());
}

uint64_t ProcessNumber() {
  return static_cast<uint64_t>(getpid());
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
    if (file.empty())
      continue;
    std::ifstream max(file);
    uint64_t bytes;
    if (max >> bytes)  // "max" means no limit
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
