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
// What storing an output asks of its path, asked ahead of its turn (by a
// worker) so that the thread that writes in order has little left to ask.
struct OutputLook {
  std::optional<FileId> existing;  // what the path leads to now
  FileComparison comparison = FileComparison::Absent;
  bool writable = false;  // in test mode, whether a write could succeed
};

// Returns what the path holds and, in test mode, whether the content could
// be written there; `absent` when its folder was listed without it, which
// spares the look at the path itself.
OutputLook LookAtOutput(FileSystem& fs, const std::string& path, ContentPieces& content, bool testMode,
                        bool absent = false);

// The same as WriteIfChanged with the path looked at already (ahead of
// time, by a worker); looks again when this run has written the path since.
bool StoreIfChanged(Conversion& conversion, const std::string& path, std::optional<OutputLook> look,
                    ContentPieces& content);
bool WriteIfChanged(Conversion& conversion, const std::string& path, std::string_view content);
