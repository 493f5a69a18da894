// Paths as the program joins and splits them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The separator that the program puts between a folder and a name, and the
// only one it looks for when it splits an output path.
extern const char kPathSeparator;

// Returns the part of the path after its last "\\" or "/", or the whole path.
std::string_view FileNameOf(std::string_view path);

// Returns where the name starts in the path: after its last native separator.
size_t NameStartOf(std::string_view path);

// Returns folder + separator + name.
std::string JoinPath(std::string_view folder, std::string_view name);

// Returns the folder without its trailing native separators.
std::string StripTrailingSeparators(std::string folder);

// Returns the text with "A" to "Z" lowercased; every other byte unchanged.
std::string LowercaseAscii(std::string text);
