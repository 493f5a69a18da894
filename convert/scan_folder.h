// The folder scan of -p.
#pragma once

#include <string>

#include "convert/conversion.h"

// Converts every regular file below the folder whose lowercased name holds
// the settings' scan tag, reporting each entry met as applied or skipped.
// Returns false when anything failed.
bool ScanFolder(const std::string& folder, const ConversionSettings& settings, RunState& run);
