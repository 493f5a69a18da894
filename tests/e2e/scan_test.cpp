// What the in-memory scan tests can't show: a real folder's links and pipes, tags and folders as the command line gives
// them, errors ending a run.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

std::string Applied(const std::string& input, std::initializer_list<std::string> outputs) {
  return "[Apply] " + input + "\n" + Converted(input, outputs);
}

struct Case {
  const char* name;
  std::string setup;  // shell commands that fill the folder d/, run in it
  std::vector<std::string> arguments;
  std::string printed;  // after the banner, or the whole text on a terminal
  int exitCode = 0;
  bool terminal = false;
};

class Scan : public testing::TestWithParam<Case> {};

TEST_P(Scan, Run) {
  ScratchFolder folder;
  ASSERT_EQ(Shell("mkdir '" + folder / "d" + "' && cd '" + folder / "d" + "' && " + GetParam().setup + " 2>&1"), "");
  RunResult run = RunBinary(GetParam().arguments, {.folder = folder.path(), .terminal = GetParam().terminal});
  EXPECT_EQ(run.output, (GetParam().terminal ? "" : kBanner) + GetParam().printed);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Scan,
    testing::Values(
        Case{"TrailingSeparatorsAreDropped",
             "mkdir sub && touch sub/x.bin",
             {"-md5", "-p", "d//", ".bin"},
             Applied("d/sub/x.bin", {"d/sub/x.md5"}) + kEnding},
        Case{"OutputsNotRescanned", "touch a.c", {"-p", "d", ".c"}, Applied("d/a.c", {"d/a.cpp", "d/a.h"}) + kEnding},
        Case{"SpecialFilesAreSkipped",
             "mkfifo pipe.bin && ln -s no broken.bin",
             {"-md5", "-p", "d", ".bin"},
             std::string("[Skip] d/broken.bin (not a regular file)\n[Skip] d/pipe.bin (not a regular file)\n") +
                 kEnding},
        // A folder link is followed once, and only inside the scanned tree.
        Case{"FolderLinksStayInsideTheTree",
             "mkdir in && touch in/i.bin && ln -s .. in/up && ln -s in again && ln -s /usr/share out",
             {"-md5", "-p", "d", ".bin"},
             Applied("d/again/i.bin", {"d/again/i.md5"}) +
                 "[Skip] d/out (folder link leads outside the scanned folder)\n" + kEnding},
        // Files are prepared on other threads, which keep the colours of their lines.
        Case{"ColoursOnATerminal", "touch x.bin", {"-md5", "-p", "d", ".bin"}, Golden("scan_colours.txt"), 0, true},
        // A failed scan ends the run before the next option.
        Case{"FileGivenAsTheFolderIsRefused",
             "touch file",
             {"-p", "d/file", ".bin", "-i", "d/file"},
             Failed("Can't open folder: d/file"),
             kFailed}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
