// What the in-memory scan tests can't show: a real listing's order, .git, links, pipes, sockets, errors ending a run.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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
  std::string printed;  // after the banner
  int exitCode = 0;
  bool socket = false;  // d/socket.bin is a socket as well
};

// Binds a socket at the path and leaves it without a listener; 0 when done, as the other calls that make entries.
int MakeSocket(const std::string& path) {
  sockaddr_un address{AF_UNIX, {}};
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  const int bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  close(fd);
  return bound;
}

class Scan : public testing::TestWithParam<Case> {};

TEST_P(Scan, Run) {
  ScratchFolder folder;
  ASSERT_EQ(Shell("mkdir '" + folder / "d" + "' && cd '" + folder / "d" + "' && " + GetParam().setup + " 2>&1"), "");
  ASSERT_EQ(GetParam().socket ? MakeSocket(folder / "d/socket.bin") : 0, 0);
  RunResult run = RunBinary(GetParam().arguments, {.folder = folder.path()});
  EXPECT_EQ(run.output, kBanner + GetParam().printed);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Scan,
    testing::Values(
        // Byte order of the names; the tag matches anywhere, in any case, and ends at the next input.
        Case{"ByteOrderAndTagAnywhere",
             "touch notes.txt a.bin B.BIN x.bin.old .bin",
             {"-sha1", "-p", "d", ".Bin", "-i", "d/a.bin"},
             Applied("d/.bin", {"d/.sha1"}) + Applied("d/B.BIN", {"d/b.sha1"}) + Applied("d/a.bin", {"d/a.sha1"}) +
                 "[Skip] d/notes.txt\n" + Applied("d/x.bin.old", {"d/x.old.sha1"}) +
                 Converted("d/a.bin", {"d/a.bin.sha1"}) + kEnding},
        // Subfolders are entered, except .git; trailing separators are dropped.
        Case{"SubfoldersAndSeparators",
             "mkdir sub .git && touch sub/x.bin .git/y.bin .hidden.bin",
             {"-md5", "-p", "d//", ".bin"},
             Applied("d/.hidden.bin", {"d/.hidden.md5"}) + Applied("d/sub/x.bin", {"d/sub/x.md5"}) + kEnding},
        Case{"EmptyTag", "touch A.PNG", {"-cxx", "-p", "d", ""}, Applied("d/A.PNG", {"d/a.png.cxx"}) + kEnding},
        // Outputs that match the tag are not scanned again.
        Case{"OutputsMatchingTheTag", "touch a.c", {"-p", "d", ".c"}, Applied("d/a.c", {"d/a.cpp", "d/a.h"}) + kEnding},
        // Only regular files are read; a folder link is followed only inside the scanned tree, and once.
        Case{"LinksAndPipes",
             "mkdir in && touch in/i.bin && ln -s .. in/up && ln -s in again && ln -s /usr/share out && mkfifo pipe.bin"
             " && ln -s no broken.bin",
             {"-md5", "-p", "d", ".bin"},
             Applied("d/again/i.bin", {"d/again/i.md5"}) +
                 "[Skip] d/broken.bin (not a regular file)\n"
                 "[Skip] d/out (folder link leads outside the scanned folder)\n[Skip] d/pipe.bin (not a regular file)\n"
                 "[Skip] d/socket.bin (not a regular file)\n" +
                 kEnding,
             0,
             true},
        // Two inputs for one output: the second is refused, and the error ends the run only after the scan.
        Case{"ErrorAfterTheScan",
             "touch A.bin a.bin good.bin",
             {"-md5", "-p", "d", ".bin", "-i", "d/good.bin"},
             Applied("d/A.bin", {"d/a.md5"}) +
                 "[Apply] d/a.bin\nReading File: d/a.bin\nConverting...\n"
                 " [ERROR] Output already written for another input: d/a.md5\n\n" +
                 Applied("d/good.bin", {"d/good.md5"}) + UsageText() + kEnding,
             kFailed},
        Case{"FileForAFolder", "touch file", {"-p", "d/file", ".bin"}, Failed("Can't open folder: d/file"), kFailed}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
