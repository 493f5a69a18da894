// The folder scan of -p seen from outside: order, [Apply] and [Skip] lines,
// link cycles and folders that can't be opened.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

std::string Applied(const std::string& input, std::initializer_list<std::string> outputs) {
  return "[Apply] " + input + "\n" + Converted(input, outputs);
}

std::string Skipped(const std::string& path) { return "[Skip] " + path + "\n"; }

// Makes the entries in the folder: "name/" a folder, "name>target" a symbolic
// link, "name|" a FIFO, anything else a file holding its own name.
void Make(const ScratchFolder& folder, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    const size_t arrow = entry.find('>');
    if (entry.ends_with('/'))
      ASSERT_EQ(mkdir((folder / entry).c_str(), 0755), 0) << entry;
    else if (arrow != std::string::npos)
      ASSERT_EQ(symlink(entry.substr(arrow + 1).c_str(), (folder / entry.substr(0, arrow)).c_str()), 0) << entry;
    else if (entry.ends_with('|'))
      ASSERT_EQ(mkfifo((folder / entry.substr(0, entry.size() - 1)).c_str(), 0644), 0) << entry;
    else
      Spill(folder / entry, entry);
  }
}

struct Case {
  const char* name;
  std::vector<std::string> entries;  // below the folder d/
  std::vector<std::string> arguments;
  std::string printed;  // after the banner
  int exitCode = 0;
};

class Scan : public testing::TestWithParam<Case> {};

TEST_P(Scan, Run) {
  ScratchFolder folder;
  std::vector<std::string> entries = {"d/"};
  for (const std::string& entry : GetParam().entries)
    entries.push_back("d/" + entry);
  Make(folder, entries);
  RunResult run = RunBinary(GetParam().arguments, {.folder = folder.path()});
  EXPECT_EQ(run.output, kBanner + GetParam().printed);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Scan,
    testing::Values(
        // Byte order of the names; the tag matches in any case.
        Case{"ByteOrder", {"notes.txt", "a.bin", "B.BIN"}, {"-p", "d", ".Bin"},
             Applied("d/B.BIN", {"d/b.cpp", "d/b.h"}) + Applied("d/a.bin", {"d/a.cpp", "d/a.h"}) +
                 Skipped("d/notes.txt") + kEnding},
        // Subfolders are entered, except .git; trailing separators are dropped.
        Case{"SubfoldersAndSeparators", {"sub/", ".git/", "sub/x.bin", ".git/y.bin", ".hidden.bin"},
             {"-md5", "-p", "d//", ".bin"},
             Applied("d/.hidden.bin", {"d/.hidden.md5"}) + Applied("d/sub/x.bin", {"d/sub/x.md5"}) + kEnding},
        Case{"TagAnywhere", {"data.bin.old", ".bin", "Data.bin.bin"}, {"-sha1", "-p", "d", ".bin"},
             Applied("d/.bin", {"d/.sha1"}) + Applied("d/Data.bin.bin", {"d/data.sha1"}) +
                 Applied("d/data.bin.old", {"d/data.old.sha1"}) + kEnding},
        Case{"EmptyTag", {"Logo.PNG"}, {"-cxx", "-p", "d", ""}, Applied("d/Logo.PNG", {"d/logo.png.cxx"}) + kEnding},
        // Outputs that match the tag are not scanned again.
        Case{"OutputsMatchingTheTag", {"a.c"}, {"-p", "d", ".c"}, Applied("d/a.c", {"d/a.cpp", "d/a.h"}) + kEnding},
        Case{"LinkCycle", {"sub/", "sub/x.bin", "sub/up>..", "twin>sub"}, {"-md5", "-p", "d", ".bin"},
             Applied("d/sub/x.bin", {"d/sub/x.md5"}) + kEnding},
        // Only regular files are read: a pipe or a dangling link is passed over.
        Case{"NotRegularFiles", {"pipe.bin|", "broken.bin>nowhere"}, {"-md5", "-p", "d", ".bin"},
             std::string("[Skip] d/broken.bin (not a regular file)\n[Skip] d/pipe.bin (not a regular file)\n") + kEnding},
        // A folder link is followed only inside the scanned tree.
        Case{"FolderLinks", {"in/", "in/i.bin", "again>in", "out>/usr/share"}, {"-md5", "-p", "d", ".bin"},
             Applied("d/again/i.bin", {"d/again/i.md5"}) + Skipped("d/out (folder link leads outside the scanned folder)") +
                 kEnding},
        // Two inputs for one output: the second is refused, and the error ends
        // the run only after the scan.
        Case{"ErrorAfterTheScan", {"A.bin", "a.bin", "good.bin"}, {"-md5", "-p", "d", ".bin", "-i", "d/good.bin"},
             Applied("d/A.bin", {"d/a.md5"}) +
                 "[Apply] d/a.bin\nReading File: d/a.bin\nConverting...\n"
                 " [ERROR] Output already written for another input: d/a.md5\n\n" +
                 Applied("d/good.bin", {"d/good.md5"}) + UsageText() + kEnding,
             kFailed},
        // The tag ends at the next input.
        Case{"TagEndsAtTheNextInput", {"A.bin"}, {"-md5", "-p", "d", ".bin", "-i", "d/A.bin"},
             Applied("d/A.bin", {"d/a.md5"}) + Converted("d/A.bin", {"d/A.bin.md5"}) + kEnding},
        Case{"MissingFolder", {}, {"-p", "missing", ".bin"}, Failed("Can't open folder: missing"), kFailed},
        Case{"FileForAFolder", {"file"}, {"-p", "d/file", ".bin"}, Failed("Can't open folder: d/file"), kFailed}),
    CaseName());

TEST(ScanUnprivileged, LockedFolderIsReportedAndTheScanGoesOn) {
  ScratchFolder folder;
  Make(folder, {"d/", "d/z.bin"});
  chmod((folder / "d").c_str(), 0777);  // user nobody writes here
  mkdir((folder / "d/locked").c_str(), 0);
  RunResult run = RunBinary({"-md5", "-p", "d", ".bin"}, {.folder = folder.path(), .unprivileged = true});
  EXPECT_EQ(run.output, kBanner + (" [ERROR] Can't open folder: d/locked\n\n" + Applied("d/z.bin", {"d/z.md5"}) +
                                   UsageText() + kEnding));
  EXPECT_EQ(run.exitCode, kFailed);
}

}  // namespace
