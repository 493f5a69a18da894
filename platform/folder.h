// Listing folders on the platform's file system.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

// Lists every entry of the folder but "." and ".."; false when the folder
// can't be opened. An empty folder of a drive root is listed as empty.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);
