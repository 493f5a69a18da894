// Whole runs seen from outside: exact console text, exit codes as the shell sees them, and the terminal's colours.
// What a mistake on the command line prints is shown by the options' unit tests.
#include "support/run.h"
#include "support/temp_folder.h"
#include "support/whole_run.h"

TEST_P(WholeRun, Run) {
  const RunCase& row = GetParam();
  ScratchFolder folder;
  std::filesystem::create_directory(folder / "d");
  ASSERT_EQ(Shell(row.setup + " 2>&1", folder / "d"), "");
  const RunResult run = RunBinary(row.arguments, {.folder = folder.path(), .terminal = row.terminal});
  EXPECT_EQ(run.output, row.printed);
  EXPECT_EQ(run.exitCode, row.exitCode);
  EXPECT_EQ(run.errors, "");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, WholeRun,
    testing::Values(
        // The one run without the ending.
        RunCase{"NoArgumentPrintsTheUsage", "", {}, kBanner + Golden("usage.txt"), kFailed},
        // Catalogues are written at the end of the run, and a write that fails fails the run.
        RunCase{"UnwritableCatalogueFailsTheRun",
                "",
                {"-o", "nowhere", "-index", "c"},
                kBanner + ("Writing catalogue: c\n" + Failed("Can't write file: nowhere/c.cpp")),
                kFailed},
        // Help is answered only as the first argument, and reads nothing after it.
        RunCase{"HelpReadsNothingAfterIt", "", {"-h", "-X"}, kBanner + Golden("usage.txt")},
        RunCase{"LongHelpReadsNothingAfterIt", "", {"--help", "-i", "missing"}, kBanner + Golden("usage.txt")},
        RunCase{"VersionReadsNothingAfterIt", "", {"--version", "-i"}, "hexloom 1.0\n"},
        // Colours that return to the default; test mode says so at every -test.
        RunCase{"ColoursOnATerminal", "", {"-test", "-test", "-X"}, Golden("terminal_colours.txt"), kFailed, true}),
    [](const auto& info) { return std::string(info.param.name); });
