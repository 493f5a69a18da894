// The folder scan of -p.
#pragma once

#include <string>

// Handler of -p: reads the folder and the tag, then scans the folder.
void HandleScanOption();

// Converts every file below the folder whose lowercased name contains the
// scan tag, reporting each file met as applied or skipped.
void ScanFolder(const std::string& folder);
