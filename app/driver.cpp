#include "app/driver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "app/options.h"
#include "app/settings.h"
#include "codegen/banner.h"
#include "convert/catalogue.h"
#include "convert/depfile.h"
#include "convert/report.h"
#include "platform/console_log.h"
#include "platform/file_system.h"

const char kHexloomVersion[] = HEXLOOM_VERSION;

namespace {

struct UsageExample {
  const char* command;
  const char* description;
};

const UsageExample kExamples[] = {
    {" Hexloom -i yourData.bin", ": convert yourData.bin and output at the same folder of yourData.bin"},
    {" Hexloom -o C:\\Data -i yourData.bin", ": convert yourData.bin and output inside C:\\Data folder"},
    {" Hexloom -o C:\\Data -i yourData.bin -1024 -i yourData2.bin",
     ": convert yourData.bin and yourData2.bin. 1024 bytes by row for yourData2.bin. Output both inside "
     "C:\\Data folder"},
    {" Hexloom -i yourData.bin -sha1 -i yourData.bin", ": convert yourData.bin twice. One in C++ and one in sha1"},
    {" Hexloom -i yourData.bin -md5 -last", ": convert yourData.bin twice. One in C++ and one in md5"},
    {" Hexloom -p C:\\Data .bin", ": parse \"Data\" folder and convert all files that match with the tag \".bin\""},
    {" Hexloom -cpp_sha256 -i sky.png", ": generate sha256 of sky.png and convert the result in C++"},
};

// The questions that every command-line tool answers. They are taken only
// as the first argument, so that they never change what a longer command
// line converts.
enum class Query { None, Help, Version };

Query QueryOf(const char* argument) {
  if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0)
    return Query::Help;
  if (std::strcmp(argument, "--version") == 0)
    return Query::Version;
  return Query::None;
}

void PrintBanner() {
  ConsoleLog& log = ConsoleLog::Instance();
  log << ConsoleColour(Colour::Title)
      << "Hexloom 1.0 - Converts data files into several formats, such as C++ source and checksums.\n"
      << "\n";
  log << ConsoleColour(Colour::Default) << "Developed by the Hexloom developers.\n"
      << "\n";
  log << ConsoleColour(Colour::Dim) << "Web: " << kHexloomWebAddress << "\n"
      << "\n";
}

}  // namespace

void PrintUsage(const Settings& settings) {
  // A quiet run tells what went wrong, not how to call the program.
  if (settings.quiet)
    return;
  ConsoleLog& log = ConsoleLog::Instance();
  log << ConsoleColour(Colour::OptionsHeading) << "[Parameters/Options]"
      << "\n";
  for (const OptionEntry& row : OptionRows()) {
    if (!row.name) {
      log << "\n";
    } else if (row.help) {
      log << ConsoleColour(Colour::Default) << " " << row.name << " ";
      log << ConsoleColour(Colour::Dim) << ": " << row.help << "\n";
    }
  }
  log << "\n";
  log << ConsoleColour(Colour::ExamplesHeading) << "[Examples]"
      << "\n";
  for (const UsageExample& example : kExamples) {
    log << ConsoleColour(Colour::Example) << example.command << " ";
    log << ConsoleColour(Colour::Dim) << example.description << "\n";
  }
  log << ConsoleColour(Colour::Notice)
      << "\n * parameter order is important for execution: \"-i file0.dat -o output\" is different than "
         "\"-o output -i file0.dat\"  (from left to right)\n"
      << "\n";
}

int RunOptions(ArgumentCursor& args, Invocation& run) {
  int exitCode = 0;
  while (args.index < args.count) {
    const char* argument = args.values[args.index];
    const OptionEntry* row = FindOption(argument);
    if (!row) {
      // An unrecognised argument stops the run; the rest is not converted,
      // so the run must not report success.
      ConsoleLog::Instance() << ConsoleColour(Colour::Notice) << "Invalid Parameter (" << args.index
                             << ") : " << EscapeControlBytes(argument) << "\n"
                             << "\n";
      return -1;
    }
    const OptionResult result = row->handler(args, run);
    if (!result.error.empty()) {
      ConsoleLog::Instance() << ConsoleColour(Colour::Notice) << EscapeControlBytes(result.error) << "\n"
                             << "\n";
      return -1;
    }
    if (result.conversionFailed)
      return -1;
    if (result.inputRefused)
      exitCode = -1;
    args.index += result.consumed;
  }
  return exitCode;
}

int RunHexloom(int argc, char** argv, const char* jobs) {
  return RunHexloomOn(RealFileSystem(), argc, argv, jobs);
}

int RunHexloomOn(FileSystem& fs, int argc, char** argv, const char* jobs) {
  Invocation run(&fs);
  const std::optional<size_t> askedThreads = jobs ? ParseScanThreads(jobs) : std::nullopt;
  run.state.scanThreads = askedThreads.value_or(DefaultScanThreads());
  ArgumentCursor args{.count = argc, .values = argv};
  // The option may come last and still names what the whole run read.
  run.state.dependencies.recording =
      std::any_of(argv, argv + argc, [](const char* argument) { return std::strcmp(argument, "-depfile") == 0; });

  const Query query = argc < 2 ? Query::None : QueryOf(argv[1]);
  if (query == Query::Version) {
    ConsoleLog::Instance() << "hexloom " << kHexloomVersion << "\n";
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "-q") == 0)
    SetQuiet(args, run);
  PrintBanner();
  // A mistyped value must not pass unnoticed for the number it seemed to set.
  if (jobs && !askedThreads) {
    ConsoleLog::Instance() << ConsoleColour(Colour::Notice) << "Ignored HEXLOOM_JOBS=" << EscapeControlBytes(jobs)
                           << " (not a whole number from 1 to 256): one scan thread per processor\n";
  }
  if (argc < 2 || query == Query::Help) {
    PrintUsage(run.settings);
    return query == Query::Help ? 0 : -1;
  }

  int exitCode = RunOptions(args, run);
  // Catalogues are written once all their files are in, even when a
  // failure stopped the run: what they hold is what was converted.
  if (!WriteCatalogues(run.state, run.settings.conversion.testMode))
    exitCode = -1;
  // Only a run that succeeded names what it made: after a failure the old
  // file stays as it was, and the build tool runs the step again.
  if (exitCode == 0 && run.settings.depfilePath &&
      !WriteDepfile(run.state, run.settings.depfilePath, run.settings.conversion.testMode))
    exitCode = -1;
  if (exitCode != 0)
    PrintUsage(run.settings);
  ConsoleLog::Instance() << "\n"
                         << "\n";
  return exitCode;
}

int RunCatchingAll(const std::function<int()>& body) {
  try {
    return body();
  } catch (const std::exception& error) {
    // Reported rather than left to abort the program.
    ReportError("Unexpected failure: ", error.what());
  } catch (...) {
    ReportError("Unexpected failure", "");
  }
  return -1;
}
