// The texts that every generated file shares.
#pragma once

#include <string>

#include "codegen/style.h"

// The web address shown in the program's banner and in every generated file.
extern const char kHexloomWebAddress[];

// Appends the three comment lines and the empty line that open every
// generated file.
void AppendBanner(std::string& text);

// Appends the opening of the style's namespace ("namespace a::b {" for a
// nested one, closed by one brace), on one line or two under -bwns.
void AppendNamespaceOpen(std::string& text, const SourceStyle& style);

// Appends "alignas(N) " when the style sets an alignment and the data is an
// array; nothing otherwise.
void AppendAlignment(std::string& text, const SourceStyle& style);
