#include "app/input_options.h"

#include <string>

#include "app/options.h"
#include "app/settings.h"
#include "convert/convert_file.h"
#include "convert/scan_folder.h"
#include "platform/path.h"

namespace {

// An input named on the command line is opened as `cat` opens it: a named
// pipe waits for its writer.
void Convert(const char* inputPath) {
  if (!ConvertFile(inputPath, CurrentConversionSettings(), g_settings.run, PipeWait::ForWriter))
    g_settings.exitCode = -1;
}

}  // namespace

void HandleInputOption() {
  ++g_settings.argIndex;
  if (g_settings.argIndex >= g_settings.argCount) {
    ReportOptionError("Input file is missing: -i yourFile.bin");
    return;
  }
  g_settings.scanTag.reset();
  g_settings.lastInputPath = g_settings.argValues[g_settings.argIndex];
  ++g_settings.argIndex;
  Convert(g_settings.lastInputPath);
}

void HandleLastOption() {
  if (!g_settings.lastInputPath) {
    ReportOptionError("No Input file: -i yourFile.bin");
    return;
  }
  ++g_settings.argIndex;
  Convert(g_settings.lastInputPath);
}

void HandleScanOption() {
  ++g_settings.argIndex;
  if (g_settings.argIndex >= g_settings.argCount - 1 || !FolderValueAt(g_settings.argIndex)) {
    ReportOptionError("Parse folder parameters are missing: -p c:\\yourFolder tag");
    return;
  }
  g_settings.lastInputPath = nullptr;
  const std::string folder = StripTrailingSeparators(g_settings.argValues[g_settings.argIndex++]);
  g_settings.scanTag = LowercaseAscii(g_settings.argValues[g_settings.argIndex++]);
  if (!ScanFolder(folder, CurrentConversionSettings(), g_settings.run))
    g_settings.exitCode = -1;
}
