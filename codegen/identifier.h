// The C++ name of a converted file's data.
#pragma once

#include <string>
#include <string_view>

// Returns the identifier made from a file name: lowercase letters, digits
// and "_", never starting with a digit.
std::string MakeIdentifier(std::string_view fileName);

// True when `name` can name the namespace of generated code: C++
// identifiers (ASCII letters, digits and "_", not starting with a digit),
// none of them reserved (IsReservedName), joined by "::" for a nested one.
bool IsValidNamespace(std::string_view name);

// True for the names a definition can't use: C++ keywords, alternative
// tokens and size_t.
bool IsReservedName(std::string_view name);
