// Whole runs seen from outside: exact console text and exit codes.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

const std::string kHelpOnly = "-md5, -sha1, -sha256, -sha512";  // a row that the usage lists only
const std::string kScanMissing = "Parse folder parameters are missing: -p c:\\yourFolder tag";
const std::string kOutputMissing = "Output path is missing: -o C:\\Data";

struct Case {
  const char* name;
  std::vector<std::string> arguments;
  std::string printed;
  int exitCode = 0;
  bool terminal = false;
};

// A run stopped by a message: the banner, the message, then the usage.
Case Stopped(const char* name, std::vector<std::string> arguments, const std::string& message) {
  return {name, std::move(arguments), kBanner + message + "\n\n" + UsageText() + kEnding, kFailed};
}

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
        Stopped("OptionNamesAreCaseSensitive", {"-MD5"}, "Invalid Parameter (1) : -MD5"),
        Stopped("RowThatTheUsageListsIsNoOption", {"-dec", kHelpOnly}, "Invalid Parameter (2) : " + kHelpOnly),
        // An unrecognised argument skips everything after it.
        Stopped("UnrecognisedSkipsTheRest", {"-test", "-zz", "-test", "-i", "missing.bin"},
                "**** TEST ENABLED ****\n\nInvalid Parameter (2) : -zz"),
        Case{"OptionsWithoutInputConvertNothing",
             {"-dec", "-cxx", "-stl", "-dyn", "-nons", "-bw", "-bwns", "-u32", "-s32", "-size_t", "-8", "-1024", "-t0",
              "-t4", "-md5", "-cpp_sha512", "-cxx_sha1", "-cpp"},
             kBanner + std::string(kEnding)},
        Stopped("OutputFolderMissingIsAnError", {"-o"}, kOutputMissing),
        // An unset variable in a script never makes the root folder the target.
        Stopped("EmptyOutputFolderIsAnError", {"-o", "", "-i", "x"}, kOutputMissing),
        Stopped("EmptyScanFolderIsAnError", {"-p", "", ".bin"}, kScanMissing),
        Stopped("ScanTagMissingIsAnError", {"-p", "d"}, kScanMissing),
        Stopped("InputMissingIsAnError", {"-i"}, "Input file is missing: -i yourFile.bin"),
        Stopped("LastBeforeAnyInputIsAnError", {"-last", "-i", "never"}, "No Input file: -i yourFile.bin"),
        // Catalogues are written at the end of the run, and a write that fails fails the run.
        Case{"UnwritableCatalogueFailsTheRun",
             {"-o", "nowhere", "-index", "c"},
             kBanner + ("Writing catalogue: c\n" + Failed("Can't write file: nowhere/c.cpp")),
             kFailed},
        // Help is answered only as the first argument, and reads nothing after it.
        Case{"HelpReadsNothingAfterIt", {"-h", "-X"}, kBanner + UsageText()},
        Case{"LongHelpReadsNothingAfterIt", {"--help", "-i", "missing"}, kBanner + UsageText()},
        Stopped("HelpAfterAnOptionIsInvalid", {"-dec", "--help"}, "Invalid Parameter (2) : --help"),
        Case{"VersionReadsNothingAfterIt", {"--version", "-i"}, "hexloom 1.0\n"},
        // Colours that return to the default; test mode says so at every -test.
        Case{"ColoursOnATerminal", {"-test", "-test", "-X"}, Golden("terminal_colours.txt"), kFailed, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
