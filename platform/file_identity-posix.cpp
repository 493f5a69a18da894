#include "platform/file_identity.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstdlib>

std::optional<FileId> IdentityOfPath(const std::string& path) {
  struct stat info;
  if (stat(path.empty() ? "/" : path.c_str(), &info) != 0)
    return std::nullopt;
  return FileId{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

std::optional<std::string> CanonicalPathOf(const std::string& path) {
  char* resolved = realpath(path.empty() ? "/" : path.c_str(), nullptr);
  if (!resolved)
    return std::nullopt;
  std::string result = resolved;
  std::free(resolved);
  return result;
}

std::optional<uint64_t> SizeOfPath(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

PathLook LookAtPath(const std::string& path) {
  // A name ending in "/" can only be a folder, never a new file.
  if (path.empty() || path.back() == '/')
    return {IdentityOfPath(path), false};
  struct stat info;
  if (lstat(path.c_str(), &info) != 0)
    return {std::nullopt, errno == ENOENT};
  // The look at a link is its own; what it leads to takes another.
  if (S_ISLNK(info.st_mode))
    return {IdentityOfPath(path), false};
  return {FileId{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)}, false};
}
