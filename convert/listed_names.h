// What a folder held when the scan listed it, so that an output that can't
// be there needs no look.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

// The names of a listed folder's entries, ASCII-lowercased and sorted.
struct ListedNames {
  std::vector<std::string> lowercased;
};

// Returns the names of the entries.
ListedNames ListedNamesOf(const std::vector<FolderEntry>& entries);

// False only when no entry of the listing can be `name`: none is it in any
// ASCII case, and it is all ASCII (a file system may fold other letters)
// with no "~" (a short name).
bool MayHold(const ListedNames& names, std::string_view name);
