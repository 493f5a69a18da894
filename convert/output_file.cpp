#include "convert/output_file.h"

#include "app/settings.h"
#include "platform/console_log.h"
#include "platform/path.h"

namespace {

void ToLowerAscii(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
}

bool ReportError(const char* description, const std::string& path) {
  ConsoleLog::Instance() << ConsoleColour(12) << " [ERROR] " << description << path << "\n" << "\n";
  g_settings.exitCode = -1;
  return false;
}

}  // namespace

std::string StripScanTag(const std::string& stem) {
  if (!g_settings.scanTag)
    return stem;
  const size_t separator = stem.rfind(kPathSeparator);
  const size_t fileStart = separator == std::string::npos ? 0 : separator + 1;
  std::string file = stem.substr(fileStart);
  ToLowerAscii(file);
  const std::string_view tag = g_settings.scanTag;
  if (!tag.empty()) {
    size_t position = 0;
    while ((position = file.find(tag, position)) != std::string::npos)
      file.erase(position, tag.size());
  }
  return stem.substr(0, fileStart) + file;
}

std::string BuildOutputPath(const char* inputPath, const char* extension) {
  std::string stem;
  if (g_settings.outputFolder) {
    stem = g_settings.outputFolder;
    stem += kPathSeparator;
    stem += g_settings.currentFileName;
  } else {
    stem = inputPath;
  }
  return StripScanTag(stem) + extension;
}

bool WriteIfChanged(const std::string& path, std::string_view content) {
  ContentPieces pieces = PiecesOf(content);
  return WriteIfChanged(path, pieces);
}

bool WriteIfChanged(const std::string& path, ContentPieces& content) {
  // A scan tag equal to an output extension maps an input onto itself.
  if (g_settings.currentInputPath && SameFile(path.c_str(), g_settings.currentInputPath))
    return ReportError("Output would overwrite its input: ", path);

  switch (CompareWithFile(path.c_str(), content)) {
    case FileComparison::Unreadable:
      return ReportError("Can't read target file: ", path);
    case FileComparison::Same:
      ConsoleLog::Instance() << ConsoleColour(10) << "No overwrite, same data for : " << path << "\n";
      return true;
    case FileComparison::Absent:
    case FileComparison::Different:
      break;
  }
  if (!g_settings.testMode && !WriteWholeFile(path.c_str(), content))
    return ReportError("Can't write file: ", path);
  ConsoleLog::Instance() << ConsoleColour(11) << "Output filepath: " << path << "\n";
  return true;
}

bool WriteChecksumFile(const char* inputPath, const std::string& checksum, const char* extension) {
  return WriteIfChanged(BuildOutputPath(inputPath, extension), checksum);
}
