// Output naming and change-aware writing: every output file passes here.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_access.h"

// Returns where the output with `extension` of `inputPath` goes: the output
// folder (when set) or the input path, adjusted for the scan tag.
std::string BuildOutputPath(const char* inputPath, const char* extension);

// Returns the stem with its file part lowercased and every occurrence of the
// scan tag removed; unchanged when no scan tag is set.
std::string StripScanTag(const std::string& stem);

// Stores `content` at `path` unless the file already holds exactly it, and
// not at all in test mode; prints one line for the file. False after an
// error, which it has reported and recorded in exitCode.
bool WriteIfChanged(const std::string& path, ContentPieces& content);
bool WriteIfChanged(const std::string& path, std::string_view content);

// Writes the checksum text of the input under its name plus `extension`.
bool WriteChecksumFile(const char* inputPath, const std::string& checksum, const char* extension);
