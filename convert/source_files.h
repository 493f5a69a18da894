// The files of a conversion: the C++ data source and header, or a checksum.
#pragma once

#include <string>

#include "codegen/style.h"
#include "convert/conversion.h"
#include "platform/byte_buffer.h"

// Writes the .cpp (or, with `cxx`, the .cxx) data source file of the input;
// false after an error, already reported.
bool WriteSourceFile(Conversion& conversion, const ByteBuffer& buffer, const std::string& identifier,
                     const SourceStyle& style, bool cxx);

// Writes the .h file of the input; false after an error, already reported.
bool WriteHeaderFile(Conversion& conversion, const ByteBuffer& buffer, const std::string& identifier,
                     const SourceStyle& style);

// Writes the checksum text under the input's name plus `extension`; false
// after an error, already reported.
bool WriteChecksumFile(Conversion& conversion, const std::string& checksum, const char* extension);
