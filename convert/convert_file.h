// One conversion of one input file.
#pragma once

#include <string>

#include "convert/conversion.h"

// Converts the file with the settings; failures are reported on the console.
// Returns false when anything failed.
bool ConvertFile(const std::string& inputPath, const ConversionSettings& settings, RunState& run);
