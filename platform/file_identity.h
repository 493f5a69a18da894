// What a path leads to on the platform's file system, learned without
// opening it: its identity, its canonical path and its size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

// The identity of what the path leads to; none when it doesn't exist.
std::optional<FileId> IdentityOfPath(const std::string& path);

// The absolute path with every link resolved; none when it doesn't exist.
std::optional<std::string> CanonicalPathOf(const std::string& path);

// The size of the file that the path leads to; none when it can't be found.
std::optional<uint64_t> SizeOfPath(const std::string& path);

// What a path names, in one look where the platform allows: the identity of
// what it leads to, and whether nothing at all goes by that name (not even
// a link that leads nowhere), so that a write would make a new file there.
struct PathLook {
  std::optional<FileId> id;
  bool nothing = false;
};
PathLook LookAtPath(const std::string& path);
