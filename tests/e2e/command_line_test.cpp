// Whole runs seen from outside: exact console text and exit codes.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

const std::string kHelpOnly = "-md5, -sha1, -sha256, -sha512";  // a row that the usage lists only
const std::string kScanMissing = "Parse folder parameters are missing: -p c:\\yourFolder tag\n\n";

// The banner, a message, then the usage that a stopped run prints.
std::string Stopped(const std::string& message) {
  return kBanner + message + UsageText() + kEnding;
}

struct Case {
  const char* name;
  std::vector<std::string> arguments;
  std::string printed;
  int exitCode = 0;
  bool terminal = false;
};

class CommandLine : public testing::TestWithParam<Case> {};

TEST_P(CommandLine, Run) {
  RunResult run = RunBinary(GetParam().arguments, {.folder = ScratchFolder().path(), .terminal = GetParam().terminal});
  EXPECT_EQ(run.output, GetParam().printed);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
  EXPECT_EQ(run.errors, "");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CommandLine,
    testing::Values(
        Case{"NoArgumentPrintsTheUsage", {}, kBanner + UsageText(), kFailed},  // the one run without the ending
        Case{"OptionNamesAreCaseSensitive", {"-MD5"}, Stopped("Invalid Parameter (1) : -MD5\n\n"), kFailed},
        Case{"RowThatTheUsageListsIsNoOption",
             {"-dec", kHelpOnly},
             Stopped("Invalid Parameter (2) : " + kHelpOnly + "\n\n"),
             kFailed},
        // An unrecognised argument skips everything after it.
        Case{"UnrecognisedSkipsTheRest",
             {"-test", "-zz", "-test", "-i", "missing.bin"},
             Stopped("**** TEST ENABLED ****\n\nInvalid Parameter (2) : -zz\n\n"),
             kFailed},
        Case{"OptionsWithoutInputConvertNothing",
             {"-dec", "-cxx", "-stl", "-dyn", "-nons", "-bw", "-bwns", "-u32", "-s32", "-size_t", "-8", "-1024", "-t0",
              "-t4", "-md5", "-cpp_sha512", "-cxx_sha1", "-cpp"},
             kBanner + std::string(kEnding)},
        Case{"OutputFolderMissingIsAnError", {"-o"}, Stopped("Output path is missing: -o C:\\Data\n\n"), kFailed},
        // An unset variable in a script never makes the root folder the target.
        Case{"EmptyOutputFolderIsAnError",
             {"-o", "", "-i", "x"},
             Stopped("Output path is missing: -o C:\\Data\n\n"),
             kFailed},
        Case{"EmptyScanFolderIsAnError", {"-p", "", ".bin"}, Stopped(kScanMissing), kFailed},
        Case{"ScanTagMissingIsAnError", {"-p", "d"}, Stopped(kScanMissing), kFailed},
        Case{"InputMissingIsAnError", {"-i"}, Stopped("Input file is missing: -i yourFile.bin\n\n"), kFailed},
        Case{"LastBeforeAnyInputIsAnError",
             {"-last", "-i", "never"},
             Stopped("No Input file: -i yourFile.bin\n\n"),
             kFailed},
        // Help is answered only as the first argument, and reads nothing after it.
        Case{"HelpReadsNothingAfterIt", {"-h", "-X"}, kBanner + UsageText()},
        Case{"LongHelpReadsNothingAfterIt", {"--help", "-i", "missing"}, kBanner + UsageText()},
        Case{"HelpAfterAnOptionIsInvalid", {"-dec", "--help"}, Stopped("Invalid Parameter (2) : --help\n\n"), kFailed},
        Case{"VersionReadsNothingAfterIt", {"--version", "-i"}, "hexloom 1.0\n"},
        // Colours that return to the default; test mode says so at every -test.
        Case{"ColoursOnATerminal", {"-test", "-test", "-X"}, Golden("terminal_colours.txt"), kFailed, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
