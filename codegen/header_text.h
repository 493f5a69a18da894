// The text of the header that goes with a .cpp data source file.
#pragma once

#include <cstdint>
#include <string>

#include "codegen/style.h"

// Returns the header that declares the data and its size constant of
// `size` bytes.
std::string BuildHeaderText(uint64_t size, const std::string& identifier, const SourceStyle& style);

// True when the size constant's type can hold `size`.
bool SizeFitsType(uint64_t size, SizeType type);
