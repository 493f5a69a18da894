// The C++ name of a converted file's data.
#pragma once

#include <string>
#include <string_view>

// Returns the identifier made from a file name: lowercase letters, digits
// and "_", never starting with a digit.
std::string MakeIdentifier(std::string_view fileName);

// True for the names a definition can't use: C++ keywords, alternative
// tokens and size_t.
bool IsReservedName(std::string_view name);
