#include "app/input_options.h"

#include <string>

#include "convert/catalogue.h"
#include "convert/convert_file.h"
#include "convert/scan_folder.h"
#include "platform/path.h"

namespace {

// Converts the last input with the settings in force; `consumed` is what the
// option read. An input named on the command line is opened as `cat` opens
// it: a named pipe waits for its writer.
OptionResult ConvertLastInput(Invocation& run, int32_t consumed) {
  if (!MayCatalogue(run.settings.lastInputPath, run.settings.conversion))
    return {.consumed = consumed, .inputRefused = true};
  const bool converted =
      ConvertFile(run.settings.lastInputPath, run.settings.conversion, run.state, PipeWait::ForWriter);
  return {.consumed = consumed, .conversionFailed = !converted};
}

}  // namespace

OptionResult HandleInputOption(const ArgumentCursor& args, Invocation& run) {
  const char* input = args.At(1);
  if (!input)
    return OptionError("Input file is missing: -i yourFile.bin");
  run.settings.conversion.scanTag.reset();
  run.settings.lastInputPath = input;
  return ConvertLastInput(run, 2);
}

OptionResult HandleLastOption(const ArgumentCursor&, Invocation& run) {
  if (!run.settings.lastInputPath)
    return OptionError("No Input file: -i yourFile.bin");
  return ConvertLastInput(run, 1);
}

OptionResult HandleScanOption(const ArgumentCursor& args, Invocation& run) {
  const char* folder = args.At(1);
  const char* tag = args.At(2);
  // A tag implies a folder before it; the folder must still name one.
  if (!tag || !IsGiven(folder))
    return OptionError("Parse folder parameters are missing: -p c:\\yourFolder tag");
  run.settings.lastInputPath = nullptr;
  run.settings.conversion.scanTag = LowercaseAscii(tag);
  const bool scanned = ScanFolder(StripTrailingSeparators(folder), run.settings.conversion, run.state);
  return {.consumed = 3, .conversionFailed = !scanned};
}
