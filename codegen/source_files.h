// The C++ files of a conversion: the data source file and its header.
#pragma once

#include <string>

#include "platform/byte_buffer.h"

// Returns the text of the header that declares the data and its size.
std::string BuildHeaderText(const ByteBuffer& buffer, const std::string& identifier);

// Writes the .cpp (or, with `cxx`, the .cxx) data source file for the input;
// false after an error, already reported.
bool WriteSourceFile(const char* inputPath, const ByteBuffer& buffer, const std::string& identifier, bool cxx);

// Writes the .h file for the input; false after an error, already reported.
bool WriteHeaderFile(const char* inputPath, const ByteBuffer& buffer, const std::string& identifier);
