// The text of a generated data source file (.cpp or .cxx).
#pragma once

#include <string>

#include "platform/byte_buffer.h"

// Appends the three comment lines and the empty line that open every
// generated file.
void AppendBanner(std::string& text);

// Appends the opening of namespace Data, on one line or two under -bwns.
void AppendNamespaceOpen(std::string& text);

// Appends the complete data source text for the bytes, styled by the
// settings in force; never fails.
void EmitDataSource(const ByteBuffer& buffer, const std::string& identifier, std::string& text);

// Returns the bytes as lowercase hexadecimal text, two digits a byte.
std::string LowercaseHex(const unsigned char* bytes, size_t length);
