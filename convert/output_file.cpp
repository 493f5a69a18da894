#include "convert/output_file.h"

#include <cstring>

#include "convert/report.h"
#include "platform/console_log.h"
#include "platform/path.h"

namespace {

// Lowercases the file part of the stem and removes every occurrence of the
// tag from it, in the stem itself: an output path is made for each file of
// a tree.
void StripScanTagOf(const std::string& tag, std::string& stem) {
  const size_t fileStart = NameStartOf(stem);
  stem.replace(fileStart, std::string::npos, LowercaseAscii(stem.substr(fileStart)));
  if (tag.empty())
    return;
  size_t position = fileStart;
  while ((position = stem.find(tag, position)) != std::string::npos)
    stem.erase(position, tag.size());
}

}  // namespace

std::string StripScanTag(const std::optional<std::string>& scanTag, const std::string& stem) {
  std::string stripped = stem;
  if (scanTag)
    StripScanTagOf(*scanTag, stripped);
  return stripped;
}

std::string BuildOutputPath(const ConversionSettings& settings, std::string_view inputPath, const char* extension) {
  std::string path;
  if (settings.outputFolder) {
    path = JoinPath(*settings.outputFolder, FileNameOf(inputPath));
  } else {
    // Room for the extension too: the path is made once, never grown.
    path.reserve(inputPath.size() + std::strlen(extension));
    path = inputPath;
  }
  if (settings.scanTag)
    StripScanTagOf(*settings.scanTag, path);
  return path += extension;
}

namespace {

// Outputs are told apart by their folder's identity and their name, so that
// "out", "./out", "out/", an absolute path and a link to the folder are one
// folder; an output whose folder doesn't exist keeps its spelling.
std::string OutputKeyOf(RunState& run, const std::string& path) {
  const size_t nameStart = NameStartOf(path);
  const std::string folder = nameStart == 0 ? "." : path.substr(0, nameStart);
  std::optional<FileId> id;
  if (const auto known = run.outputFolders.find(folder); known != run.outputFolders.end())
    id = known->second;
  else if ((id = run.fs->IdentityOf(folder)))
    run.outputFolders.emplace(folder, *id);
  if (id)
    return std::to_string(id->device) + ":" + std::to_string(id->index) + kPathSeparator + path.substr(nameStart);
  return "path:" + path;
}

// Refuses what would destroy a file that this run must keep: the input
// itself (a scan tag equal to an output extension maps an input onto
// itself), a file that a scan of this run converts, before or after this
// one (a name the tag's removal leaves holding the tag again), or the output
// of another input of this run. `existing` is what the path leads to now.
bool ClaimOutput(Conversion& conversion, const std::string& path, const std::string& key,
                 const std::optional<FileId>& existing) {
  RunState& run = conversion.run;
  if (existing && (run.scanInputs.count(*existing) != 0 || run.fs->IdentityOf(conversion.inputPath) == existing))
    return ReportError("Output would overwrite its input: ", path);
  const auto claim = run.outputs.find(key);
  if (claim != run.outputs.end() && claim->second != conversion.inputKey)
    return ReportError("Output already written for another input: ", path);
  return true;
}

void RecordOutput(Conversion& conversion, const std::string& path, const std::string& key,
                  const std::optional<FileId>& written) {
  RunState& run = conversion.run;
  run.outputs.emplace(key, conversion.inputKey);
  run.dependencies.AddTarget(path);
  if (written)
    run.outputFiles.insert(*written);
}

}  // namespace

OutputLook LookAtOutput(FileSystem& fs, const std::string& path, ContentPieces& content, bool testMode, bool absent) {
  OutputLook look;
  const TargetLook target = absent ? fs.LookAtNewTarget(path, testMode) : fs.LookAtTarget(path, testMode);
  look.existing = target.existing;
  // What has no identity can't be opened either.
  look.comparison = look.existing ? fs.CompareWithFile(path, content) : FileComparison::Absent;
  // Test mode writes nothing but foresees what a real write would refuse.
  look.writable =
      testMode && look.comparison != FileComparison::Same && (look.existing ? fs.CanWrite(path) : target.writable);
  return look;
}

bool StoreIfChanged(Conversion& conversion, const std::string& path, std::optional<OutputLook> look,
                    ContentPieces& content) {
  FileSystem& fs = *conversion.run.fs;
  const bool testMode = conversion.settings.testMode;
  const std::string key = OutputKeyOf(conversion.run, path);
  // What was looked at ahead of time is stale once this run has written the
  // path since.
  if (!look || conversion.run.outputs.count(key) != 0)
    look = LookAtOutput(fs, path, content, testMode);
  if (!ClaimOutput(conversion, path, key, look->existing))
    return false;
  switch (look->comparison) {
    case FileComparison::Unreadable: return ReportError("Can't read target file: ", path);
    case FileComparison::Same:
      RecordOutput(conversion, path, key, look->existing);
      ConsoleLog::Instance() << ConsoleColour(Colour::Unchanged) << "No overwrite, same data for : " << Escaped{path}
                             << "\n";
      return true;
    case FileComparison::Absent:
    case FileComparison::Different: break;
  }
  WriteResult stored = WriteResult::Refused;
  if (!testMode)
    stored = fs.WriteWholeFile(path, content);
  else if (look->writable)
    stored = WriteResult::Done;
  if (stored != WriteResult::Done)
    return ReportWriteFailure(stored, path);
  // A file written anew has an identity of its own; test mode left the old.
  RecordOutput(conversion, path, key, testMode ? look->existing : fs.IdentityOf(path));
  ConsoleLog::Instance() << ConsoleColour(Colour::Written) << "Output filepath: " << Escaped{path} << "\n";
  return true;
}

bool WriteIfChanged(Conversion& conversion, const std::string& path, ContentPieces& content) {
  return StoreIfChanged(conversion, path, std::nullopt, content);
}

bool WriteIfChanged(Conversion& conversion, const std::string& path, std::string_view content) {
  ContentPieces pieces = PiecesOf(content);
  return WriteIfChanged(conversion, path, pieces);
}
