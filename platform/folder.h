// Folders and identities on the platform's file system.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

// Lists every entry of the folder but "." and ".."; false when the folder
// can't be opened. An empty folder of a drive root is listed as empty.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// The identity of what the path leads to; none when it doesn't exist.
std::optional<FileId> IdentityOfPath(const std::string& path);

// The absolute path with every link resolved; none when it doesn't exist.
std::optional<std::string> CanonicalPathOf(const std::string& path);

// The size of the file that the path leads to; none when it can't be found.
std::optional<uint64_t> SizeOfPath(const std::string& path);
