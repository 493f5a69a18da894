#include "convert/output_file.h"

#include "convert/report.h"
#include "platform/console_log.h"
#include "platform/path.h"

std::string StripScanTag(const std::optional<std::string>& scanTag, const std::string& stem) {
  if (!scanTag)
    return stem;
  const size_t fileStart = NameStartOf(stem);
  std::string file = LowercaseAscii(stem.substr(fileStart));
  const std::string& tag = *scanTag;
  if (!tag.empty()) {
    size_t position = 0;
    while ((position = file.find(tag, position)) != std::string::npos)
      file.erase(position, tag.size());
  }
  return stem.substr(0, fileStart) + file;
}

std::string BuildOutputPath(const ConversionSettings& settings, std::string_view inputPath, const char* extension) {
  const std::string stem =
      settings.outputFolder ? JoinPath(*settings.outputFolder, FileNameOf(inputPath)) : std::string(inputPath);
  return StripScanTag(settings.scanTag, stem) + extension;
}

namespace {

// Refuses what would destroy a file that this run must keep: the input
// itself (a scan tag equal to an output extension maps an input onto
// itself), or the output of another input of this run.
bool ClaimOutput(Conversion& conversion, const std::string& path) {
  RunState& run = conversion.run;
  if (const std::optional<FileId> target = run.fs->IdentityOf(path)) {
    if (run.fs->IdentityOf(conversion.inputPath) == target)
      return ReportError("Output would overwrite its input: ", path);
  }
  const auto claim = run.outputs.find(path);
  if (claim != run.outputs.end() && claim->second != conversion.inputKey)
    return ReportError("Output already written for another input: ", path);
  return true;
}

void RecordOutput(Conversion& conversion, const std::string& path) {
  conversion.run.outputs.emplace(path, conversion.inputKey);
}

}  // namespace

bool StoreIfChanged(Conversion& conversion, const std::string& path, std::optional<FileComparison> comparison,
                    ContentPieces& content) {
  // A comparison made ahead of time is stale once this run has written the
  // path since.
  const bool claimedBefore = conversion.run.outputs.count(path) != 0;
  if (!ClaimOutput(conversion, path))
    return false;
  FileSystem& fs = *conversion.run.fs;
  if (!comparison || claimedBefore)
    comparison = fs.CompareWithFile(path, content);
  switch (*comparison) {
    case FileComparison::Unreadable: return ReportError("Can't read target file: ", path);
    case FileComparison::Same:
      RecordOutput(conversion, path);
      ConsoleLog::Instance() << ConsoleColour(Colour::Unchanged) << "No overwrite, same data for : " << path << "\n";
      return true;
    case FileComparison::Absent:
    case FileComparison::Different: break;
  }
  // Test mode writes nothing but foresees what a real write would refuse.
  WriteResult stored = WriteResult::Refused;
  if (!conversion.settings.testMode)
    stored = fs.WriteWholeFile(path, content);
  else if (fs.CanWrite(path))
    stored = WriteResult::Done;
  if (stored != WriteResult::Done)
    return ReportWriteFailure(stored, path);
  RecordOutput(conversion, path);
  ConsoleLog::Instance() << ConsoleColour(Colour::Written) << "Output filepath: " << path << "\n";
  return true;
}

bool WriteIfChanged(Conversion& conversion, const std::string& path, ContentPieces& content) {
  return StoreIfChanged(conversion, path, std::nullopt, content);
}

bool WriteIfChanged(Conversion& conversion, const std::string& path, std::string_view content) {
  ContentPieces pieces = PiecesOf(content);
  return WriteIfChanged(conversion, path, pieces);
}
