// The folder scan of -p seen from outside.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "e2e/support.h"

namespace {

std::string Applied(const std::string& input, std::initializer_list<std::string> outputs) {
  std::string text = "[Apply] " + input + "\nReading File: " + input + "\nConverting...\n";
  for (const std::string& output : outputs)
    text += "Output filepath: " + output + "\n";
  return text + "\n";
}

std::string Skipped(const std::string& path) { return "[Skip] " + path + "\n"; }

class Scan : public testing::Test {
 protected:
  TempFolder folder;
  void SetUp() override { mkdir((folder / "d").c_str(), 0755); }
  RunResult RunHere(const std::vector<std::string>& arguments) { return RunBinary(arguments, {.folder = folder.path()}); }
};

TEST_F(Scan, AppliesAndSkipsInByteOrder) {
  WriteFile(folder / "d/notes.txt", "n");
  WriteFile(folder / "d/a.bin", "a");
  WriteFile(folder / "d/B.BIN", "b");
  RunResult run = RunHere({"-p", "d", ".Bin"});
  EXPECT_EQ(run.output, kBanner + Applied("d/B.BIN", {"d/b.cpp", "d/b.h"}) + Applied("d/a.bin", {"d/a.cpp", "d/a.h"}) +
                            Skipped("d/notes.txt") + kEnding);
  EXPECT_EQ(run.exitCode, 0);
  // The identifier keeps the whole name.
  EXPECT_NE(ReadFile(folder / "d/b.h").find("b_bin[];"), std::string::npos);
}

TEST_F(Scan, TrailingSeparatorsAndSubfolders) {
  mkdir((folder / "d/sub").c_str(), 0755);
  mkdir((folder / "d/.git").c_str(), 0755);
  WriteFile(folder / "d/sub/x.bin", "x");
  WriteFile(folder / "d/.git/y.bin", "y");
  WriteFile(folder / "d/.hidden.bin", "h");
  RunResult run = RunHere({"-md5", "-p", "d//", ".bin"});
  EXPECT_EQ(run.output, kBanner + Applied("d/.hidden.bin", {"d/.hidden.md5"}) + Applied("d/sub/x.bin", {"d/sub/x.md5"}) +
                            kEnding);
  EXPECT_FALSE(Exists(folder / "d/.git/y.md5"));
}

TEST_F(Scan, TagAnywhereInTheName) {
  WriteFile(folder / "d/data.bin.old", "1");
  WriteFile(folder / "d/.bin", "2");
  WriteFile(folder / "d/Data.bin.bin", "3");
  RunResult run = RunHere({"-sha1", "-p", "d", ".bin"});
  EXPECT_EQ(run.output, kBanner + Applied("d/.bin", {"d/.sha1"}) + Applied("d/Data.bin.bin", {"d/data.sha1"}) +
                            Applied("d/data.bin.old", {"d/data.old.sha1"}) + kEnding);
}

TEST_F(Scan, EmptyTagMatchesEverything) {
  WriteFile(folder / "d/Logo.PNG", "l");
  RunResult run = RunHere({"-cxx", "-p", "d", ""});
  EXPECT_EQ(run.output, kBanner + Applied("d/Logo.PNG", {"d/logo.png.cxx"}) + kEnding);
}

TEST_F(Scan, TagMatchingTheOutputsEnds) {
  WriteFile(folder / "d/a.c", "c");
  RunResult run = RunHere({"-p", "d", ".c"});
  EXPECT_EQ(run.output, kBanner + Applied("d/a.c", {"d/a.cpp", "d/a.h"}) + kEnding);
  EXPECT_EQ(ListNames(folder / "d"), (std::vector<std::string>{"a.c", "a.cpp", "a.h"}));
}

TEST_F(Scan, LinkCycleEnds) {
  mkdir((folder / "d/sub").c_str(), 0755);
  WriteFile(folder / "d/sub/x.bin", "x");
  ASSERT_EQ(symlink("..", (folder / "d/sub/up").c_str()), 0);
  ASSERT_EQ(symlink("sub", (folder / "d/twin").c_str()), 0);
  RunResult run = RunHere({"-md5", "-p", "d", ".bin"});
  EXPECT_EQ(run.output, kBanner + Applied("d/sub/x.bin", {"d/sub/x.md5"}) + kEnding);
  EXPECT_EQ(run.exitCode, 0);
}

TEST_F(Scan, RefusesToOverwriteItsInput) {
  WriteFile(folder / "d/a.cpp", "int a;");
  WriteFile(folder / "d/b.h", "int b;");
  WriteFile(folder / "d/c.cpp.txt", "c");
  RunResult run = RunHere({"-p", "d", ".cpp", "-i", "d/b.h"});
  EXPECT_EQ(run.output, std::string(kBanner) +
                            "[Apply] d/a.cpp\nReading File: d/a.cpp\nConverting...\n"
                            " [ERROR] Output would overwrite its input: d/a.cpp\n\n" +
                            Skipped("d/b.h") + Applied("d/c.cpp.txt", {"d/c.txt.cpp", "d/c.txt.h"}) + UsageText() +
                            kEnding);
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_EQ(ReadFile(folder / "d/a.cpp"), "int a;");
  run = RunHere({"-p", "d", ".h"});
  EXPECT_NE(run.output.find(" [ERROR] Output would overwrite its input: d/b.h\n\n"), std::string::npos);
  EXPECT_EQ(ReadFile(folder / "d/b.h"), "int b;");
}

TEST_F(Scan, AnErrorStopsTheRunOnlyAfterTheScan) {
  ASSERT_EQ(symlink("nowhere", (folder / "d/broken.bin").c_str()), 0);
  WriteFile(folder / "d/good.bin", "g");
  WriteFile(folder / "other", "o");
  RunResult run = RunHere({"-md5", "-p", "d", ".bin", "-i", "other"});
  EXPECT_EQ(run.output, std::string(kBanner) +
                            "[Apply] d/broken.bin\nReading File: d/broken.bin\n [ERROR] Can't open file: d/broken.bin\n\n" +
                            Applied("d/good.bin", {"d/good.md5"}) + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_FALSE(Exists(folder / "other.md5"));
}

TEST_F(Scan, FifoInTheTreeNeverHangs) {
  ASSERT_EQ(mkfifo((folder / "d/pipe.bin").c_str(), 0644), 0);
  RunResult run = RunHere({"-md5", "-p", "d", ".bin"});
  EXPECT_EQ(run.output, kBanner + Applied("d/pipe.bin", {"d/pipe.md5"}) + kEnding);
  EXPECT_EQ(ReadFile(folder / "d/pipe.md5"), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST_F(Scan, FoldersThatCantBeOpened) {
  RunResult run = RunHere({"-p", "missing", ".bin"});
  EXPECT_EQ(run.output, kBanner + std::string(" [ERROR] Can't open folder: missing\n\n") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
  WriteFile(folder / "file", "f");
  run = RunHere({"-p", "file", ".bin"});
  EXPECT_EQ(run.output, kBanner + std::string(" [ERROR] Can't open folder: file\n\n") + UsageText() + kEnding);

  chmod((folder / "d").c_str(), 0777);  // writable by the unprivileged run
  mkdir((folder / "d/locked").c_str(), 0);
  WriteFile(folder / "d/z.bin", "z");
  run = RunBinary({"-md5", "-p", "d", ".bin"}, {.folder = folder.path(), .unprivileged = true});
  EXPECT_EQ(run.output, kBanner + std::string(" [ERROR] Can't open folder: d/locked\n\n") +
                            Applied("d/z.bin", {"d/z.md5"}) + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

TEST_F(Scan, MissingParametersAndLastAfterAScan) {
  RunResult run = RunHere({"-p", "d"});
  EXPECT_EQ(run.output, kBanner + std::string("Parse folder parameters are missing: -p c:\\yourFolder tag\n\n") +
                            UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
  WriteFile(folder / "x", "x");
  run = RunHere({"-i", "x", "-p", "d", ".bin", "-last"});
  EXPECT_NE(run.output.find("No Input file: -i yourFile.bin\n\n"), std::string::npos);
  EXPECT_EQ(run.exitCode, 255);
}

TEST_F(Scan, EqualNamesMeetInOneOutputFolder) {
  mkdir((folder / "d/one").c_str(), 0755);
  mkdir((folder / "d/two").c_str(), 0755);
  mkdir((folder / "out").c_str(), 0755);
  WriteFile(folder / "d/one/a.bin", "same");
  WriteFile(folder / "d/two/a.bin", "same");
  RunResult run = RunHere({"-md5", "-o", "out", "-p", "d", ".bin"});
  EXPECT_EQ(run.output, kBanner + Applied("d/one/a.bin", {"out/a.md5"}) +
                            "[Apply] d/two/a.bin\nReading File: d/two/a.bin\nConverting...\n"
                            "No overwrite, same data for : out/a.md5\n\n" +
                            kEnding);
}

TEST_F(Scan, ScanTagEndsAtTheNextInput) {
  WriteFile(folder / "d/A.bin", "a");
  WriteFile(folder / "B.bin", "b");
  RunResult run = RunHere({"-md5", "-p", "d", ".bin", "-i", "B.bin"});
  EXPECT_EQ(run.output, kBanner + Applied("d/A.bin", {"d/a.md5"}) +
                            "Reading File: B.bin\nConverting...\nOutput filepath: B.bin.md5\n\n" + kEnding);
}

}  // namespace
