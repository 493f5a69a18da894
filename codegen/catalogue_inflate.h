// What lets a program restore the entries that -compress stored as gzip:
// name_inflate, over zlib.
#pragma once

#include <string>

// Returns the includes that the source of an inflating catalogue needs, to
// come before its namespace.
std::string CatalogueInflateIncludes();

// Appends to a catalogue's header the declaration of name_inflate.
void AppendCatalogueInflateDeclaration(std::string& header, const std::string& name);

// Returns the definition of name_inflate, for the catalogue's namespace.
std::string CatalogueInflateText(const std::string& name);
