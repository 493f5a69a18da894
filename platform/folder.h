// Folder enumeration for the folder scan.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

struct FolderEntry {
  std::string name;
  bool isDirectory;  // a folder, or a link that leads to one
};

// Lists every entry of the folder, "." and ".." included where the platform
// reports them; false when the folder can't be opened. An empty folder path
// names the root, as folder + separator + name does.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// The identity of a folder on its device, so that a scan reaching the same
// folder twice through links can tell.
struct FolderId {
  uint64_t device = 0;
  uint64_t index = 0;
  auto operator<=>(const FolderId&) const = default;
};

// Fills `id` for an existing folder; false when it can't be found.
bool GetFolderId(const std::string& folder, FolderId& id);
