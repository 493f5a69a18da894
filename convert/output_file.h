// Output naming and change-aware writing: every output file passes here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "convert/conversion.h"
#include "platform/file_access.h"

// Returns the stem with its file part lowercased and every occurrence of the
// scan tag removed; unchanged when no scan tag is set.
std::string StripScanTag(const std::optional<std::string>& scanTag, const std::string& stem);

// Returns where the output with `extension` of the input goes: the output
// folder (when set) or beside the input, adjusted for the scan tag.
std::string BuildOutputPath(const ConversionSettings& settings, std::string_view inputPath, const char* extension);

// Stores the content at `path` unless the file already holds exactly it, and
// not at all in test mode; prints one line for the file. False after an
// error, which it has reported.
bool WriteIfChanged(Conversion& conversion, const std::string& path, ContentPieces& content);
// The same with the comparison already made (ahead of time, by a worker);
// compares again when this run has written the path since.
bool StoreIfChanged(Conversion& conversion, const std::string& path, std::optional<FileComparison> comparison,
                    ContentPieces& content);
bool WriteIfChanged(Conversion& conversion, const std::string& path, std::string_view content);
