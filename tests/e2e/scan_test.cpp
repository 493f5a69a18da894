// The folder scan of -p on the real file system, for what the in-memory
// scan tests can't show: the order of a real listing, .git, links and pipes,
// and how the scan's errors end a whole run.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
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
  // Below the folder d/: "name/" a folder, "name>target" a symbolic link,
  // "name|" a FIFO, anything else a file holding its own name.
  std::vector<std::string> entries;
  std::vector<std::string> arguments;
  std::string printed;  // after the banner
  int exitCode = 0;
};

// A socket bound at the path, left without a listener.
bool MakeSocket(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return bound;
}

class Scan : public testing::TestWithParam<Case> {};

TEST_P(Scan, Run) {
  ScratchFolder folder;
  mkdir((folder / "d").c_str(), 0755);
  for (const std::string& entry : GetParam().entries) {
    const std::string path = folder / ("d/" + entry.substr(0, entry.find_first_of(">|=")));
    const size_t arrow = entry.find('>');
    if (entry.ends_with('/'))
      ASSERT_EQ(mkdir(path.c_str(), 0755), 0) << entry;
    else if (arrow != std::string::npos)
      ASSERT_EQ(symlink(entry.substr(arrow + 1).c_str(), path.c_str()), 0) << entry;
    else if (entry.ends_with('|'))
      ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << entry;
    else if (entry.ends_with('='))
      ASSERT_TRUE(MakeSocket(path)) << entry;
    else
      Spill(path, entry);
  }
  RunResult run = RunBinary(GetParam().arguments, {.folder = folder.path()});
  EXPECT_EQ(run.output, kBanner + GetParam().printed);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Scan,
    testing::Values(
        // Byte order of the names; the tag matches anywhere, in any case.
        Case{"ByteOrderAndTagAnywhere", {"notes.txt", "a.bin", "B.BIN", "x.bin.old", ".bin"}, {"-sha1", "-p", "d", ".Bin"},
             Applied("d/.bin", {"d/.sha1"}) + Applied("d/B.BIN", {"d/b.sha1"}) + Applied("d/a.bin", {"d/a.sha1"}) +
                 "[Skip] d/notes.txt\n" + Applied("d/x.bin.old", {"d/x.old.sha1"}) + kEnding},
        // Subfolders are entered, except .git; trailing separators are dropped.
        Case{"SubfoldersAndSeparators", {"sub/", ".git/", "sub/x.bin", ".git/y.bin", ".hidden.bin"},
             {"-md5", "-p", "d//", ".bin"},
             Applied("d/.hidden.bin", {"d/.hidden.md5"}) + Applied("d/sub/x.bin", {"d/sub/x.md5"}) + kEnding},
        Case{"EmptyTag", {"Logo.PNG"}, {"-cxx", "-p", "d", ""}, Applied("d/Logo.PNG", {"d/logo.png.cxx"}) + kEnding},
        // Outputs that match the tag are not scanned again.
        Case{"OutputsMatchingTheTag", {"a.c"}, {"-p", "d", ".c"}, Applied("d/a.c", {"d/a.cpp", "d/a.h"}) + kEnding},
        // Only regular files are read; a folder link is followed only inside
        // the scanned tree, and once.
        Case{"LinksAndPipes", {"in/", "in/i.bin", "in/up>..", "again>in", "out>/usr/share", "pipe.bin|", "broken.bin>no",
              "socket.bin="},
             {"-md5", "-p", "d", ".bin"},
             Applied("d/again/i.bin", {"d/again/i.md5"}) +
                 "[Skip] d/broken.bin (not a regular file)\n"
                 "[Skip] d/out (folder link leads outside the scanned folder)\n"
                 "[Skip] d/pipe.bin (not a regular file)\n[Skip] d/socket.bin (not a regular file)\n" + kEnding},
        // Two inputs for one output: the second is refused, and the error ends
        // the run only after the scan.
        Case{"ErrorAfterTheScan", {"A.bin", "a.bin", "good.bin"}, {"-md5", "-p", "d", ".bin", "-i", "d/good.bin"},
             Applied("d/A.bin", {"d/a.md5"}) +
                 "[Apply] d/a.bin\nReading File: d/a.bin\nConverting...\n"
                 " [ERROR] Output already written for another input: d/a.md5\n\n" +
                 Applied("d/good.bin", {"d/good.md5"}) + UsageText() + kEnding,
             kFailed},
        Case{"TagEndsAtTheNextInput", {"A.bin"}, {"-md5", "-p", "d", ".bin", "-i", "d/A.bin"},
             Applied("d/A.bin", {"d/a.md5"}) + Converted("d/A.bin", {"d/A.bin.md5"}) + kEnding},
        Case{"FileForAFolder", {"file"}, {"-p", "d/file", ".bin"}, Failed("Can't open folder: d/file"), kFailed}),
    CaseName());

}  // namespace
