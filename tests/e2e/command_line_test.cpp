// Whole runs seen from outside: exact console text, exit codes as the shell sees them, and the terminal's colours.
// What a mistake on the command line prints is shown by the options' unit tests.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

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
        // Catalogues are written at the end of the run, and a write that fails fails the run.
        Case{"UnwritableCatalogueFailsTheRun",
             {"-o", "nowhere", "-index", "c"},
             kBanner + ("Writing catalogue: c\n" + Failed("Can't write file: nowhere/c.cpp")),
             kFailed},
        // Help is answered only as the first argument, and reads nothing after it.
        Case{"HelpReadsNothingAfterIt", {"-h", "-X"}, kBanner + UsageText()},
        Case{"LongHelpReadsNothingAfterIt", {"--help", "-i", "missing"}, kBanner + UsageText()},
        Case{"VersionReadsNothingAfterIt", {"--version", "-i"}, "hexloom 1.0\n"},
        // Colours that return to the default; test mode says so at every -test.
        Case{"ColoursOnATerminal", {"-test", "-test", "-X"}, Golden("terminal_colours.txt"), kFailed, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
