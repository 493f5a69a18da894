// One conversion at a time through -i and -last: console lines, files and
// exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e/support.h"

namespace {

std::string Lines(const std::string& input, std::initializer_list<std::string> outputs) {
  std::string text = "Reading File: " + input + "\nConverting...\n";
  for (const std::string& output : outputs)
    text += output + "\n";
  return text + "\n";
}

std::string Wrote(const std::string& path) { return "Output filepath: " + path; }
std::string Kept(const std::string& path) { return "No overwrite, same data for : " + path; }

class Conversion : public testing::Test {
 protected:
  TempFolder folder;
  RunResult RunHere(const std::vector<std::string>& arguments) { return RunBinary(arguments, {.folder = folder.path()}); }
};

TEST_F(Conversion, OneFileThenTheSameAgain) {
  WriteFile(folder / "sky.png", std::string("\x00\x41\xff", 3));
  RunResult run = RunHere({"-i", "sky.png", "-last"});
  EXPECT_EQ(run.output, kBanner + Lines("sky.png", {Wrote("sky.png.cpp"), Wrote("sky.png.h")}) +
                            Lines("sky.png", {Kept("sky.png.cpp"), Kept("sky.png.h")}) + kEnding);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ReadFile(folder / "sky.png.cpp").size(), 290u);
  EXPECT_EQ(ReadFile(folder / "sky.png.h").size(), 330u);
  EXPECT_EQ(ListNames(folder.path()), (std::vector<std::string>{"sky.png", "sky.png.cpp", "sky.png.h"}));
}

TEST_F(Conversion, SameFileInTwoFormats) {
  WriteFile(folder / "x", "abc");
  RunResult run = RunHere({"-i", "x", "-md5", "-last"});
  EXPECT_EQ(run.output, kBanner + Lines("x", {Wrote("x.cpp"), Wrote("x.h")}) + Lines("x", {Wrote("x.md5")}) + kEnding);
  EXPECT_EQ(ReadFile(folder / "x.md5"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST_F(Conversion, LastNeedsAnInput) {
  RunResult run = RunHere({"-last", "-i", "never"});
  EXPECT_EQ(run.output, kBanner + std::string("No Input file: -i yourFile.bin\n\n") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
  WriteFile(folder / "x", "abc");
  run = RunHere({"-i", "x", "-md5", "-p", ".", "nothing matches this", "-last"});
  EXPECT_NE(run.output.find("No Input file: -i yourFile.bin\n\n" + UsageText()), std::string::npos);
  EXPECT_EQ(run.exitCode, 255);
}

TEST_F(Conversion, UnreadableInputStopsBeforeTheNextOption) {
  WriteFile(folder / "good", "abc");
  RunResult run = RunHere({"-i", "missing.bin", "-i", "good"});
  EXPECT_EQ(run.output, kBanner + std::string("Reading File: missing.bin\n [ERROR] Can't open file: missing.bin\n\n") +
                            UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_EQ(ListNames(folder.path()), std::vector<std::string>{"good"});
  run = RunHere({"-i", "."});
  EXPECT_NE(run.output.find(" [ERROR] Can't open file: .\n\n"), std::string::npos);
}

TEST_F(Conversion, Identifiers) {
  const std::pair<const char*, const char*> cases[] = {
      {"Data.bin", "data_bin"},       {"8bit-Font.PNG", "_8bit_font_png"},    {"_x.dat", "__x_dat"},
      {"my file (1).txt", "my_file__1__txt"}, {"1.bin", "_1_bin"}, {"+.bin", "___bin"}, {"LOGO.PNG", "logo_png"},
      {"\xc3\xa9t\xc3\xa9.txt", "___t___txt"},
  };
  for (auto [name, identifier] : cases) {
    WriteFile(folder / name, "z");
    RunResult run = RunHere({"-i", name});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(ReadFile(folder / (std::string(name) + ".h")).find("unsigned char " + std::string(identifier) + "[];\n"),
              std::string::npos)
        << name;
  }
}

TEST_F(Conversion, DigestAsSourceHasTheDigestSize) {
  WriteFile(folder / "sky.png", std::string(1000, 's'));
  RunResult run = RunHere({"-cpp_sha256", "-i", "sky.png", "-cxx_sha1", "-last"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(ReadFile(folder / "sky.png.h").find("const size_t sky_png_size = 32;\n"), std::string::npos);
  const std::string sha1 = Shell("cd '" + folder.path() + "' && sha1sum sky.png | cut -c1-40");
  EXPECT_NE(ReadFile(folder / "sky.png.cxx").find("\n// " + sha1), std::string::npos);
}

TEST_F(Conversion, ChecksumFilesMatchCoreutils) {
  std::string bytes;
  for (int i = 0; i < 100003; ++i)
    bytes += static_cast<char>(i * 31 % 251);
  WriteFile(folder / "data.bin", bytes);
  WriteFile(folder / "empty", "");
  RunResult run = RunHere({"-md5", "-i", "data.bin", "-i", "empty", "-sha1", "-i", "data.bin", "-i", "empty",
                           "-sha256", "-i", "data.bin", "-i", "empty", "-sha512", "-i", "data.bin", "-i", "empty"});
  ASSERT_EQ(run.exitCode, 0);
  for (std::string tool : {"md5", "sha1", "sha256", "sha512"}) {
    for (std::string file : {"data.bin", "empty"}) {
      std::string expected = Shell("cd '" + folder.path() + "' && " + tool + "sum " + file + " | cut -d' ' -f1");
      expected.pop_back();
      EXPECT_EQ(ReadFile(folder / (file + "." + tool)), expected) << tool << " " << file;
    }
  }
}

TEST_F(Conversion, NamingTable) {
  mkdir((folder / "data").c_str(), 0755);
  mkdir((folder / "out").c_str(), 0755);
  WriteFile(folder / "data/Logo.PNG", "logo");
  RunResult run = RunHere({"-i", "data/Logo.PNG", "-o", "out", "-i", "data/Logo.PNG", "-o", "out/", "-md5", "-i",
                           "data/Logo.PNG", "-cxx", "-o", ".", "-i", "data/Logo.PNG"});
  EXPECT_EQ(run.output, kBanner + Lines("data/Logo.PNG", {Wrote("data/Logo.PNG.cpp"), Wrote("data/Logo.PNG.h")}) +
                            Lines("data/Logo.PNG", {Wrote("out/Logo.PNG.cpp"), Wrote("out/Logo.PNG.h")}) +
                            Lines("data/Logo.PNG", {Wrote("out//Logo.PNG.md5")}) +
                            Lines("data/Logo.PNG", {Wrote("./Logo.PNG.cxx")}) + kEnding);
  EXPECT_TRUE(Exists(folder / "Logo.PNG.cxx"));
  EXPECT_EQ(ListNames(folder / "out"),
            (std::vector<std::string>{"Logo.PNG.cpp", "Logo.PNG.h", "Logo.PNG.md5"}));
}

TEST_F(Conversion, TestModeWritesNothing) {
  WriteFile(folder / "a", "a");
  RunResult run = RunHere({"-test", "-i", "a", "-o", "missing folder", "-i", "a"});
  EXPECT_EQ(run.output, kBanner + std::string("**** TEST ENABLED ****\n\n") +
                            Lines("a", {Wrote("a.cpp"), Wrote("a.h")}) +
                            Lines("a", {Wrote("missing folder/a.cpp"), Wrote("missing folder/a.h")}) + kEnding);
  EXPECT_EQ(ListNames(folder.path()), std::vector<std::string>{"a"});
}

TEST_F(Conversion, MissingOutputFolderFailsTheWrite) {
  WriteFile(folder / "a", "a");
  RunResult run = RunHere({"-o", "nowhere", "-i", "a", "-i", "a"});
  EXPECT_EQ(run.output, kBanner + std::string("Reading File: a\nConverting...\n [ERROR] Can't write file: nowhere/a.cpp\n\n") +
                            UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

TEST_F(Conversion, TooLargeForMemoryIsAClearError) {
  // A sparse file far larger than memory costs no disk.
  int fd = open((folder / "huge.bin").c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_EQ(ftruncate(fd, 1LL << 40), 0);
  close(fd);
  WriteFile(folder / "small.bin", "s");
  RunResult run = RunHere({"-p", ".", ".bin"});
  EXPECT_NE(run.output.find("[Apply] ./huge.bin\nReading File: ./huge.bin\n"
                            " [ERROR] File too large to hold in memory: ./huge.bin\n\n[Apply] ./small.bin\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_TRUE(Exists(folder / "small.cpp"));
  EXPECT_FALSE(Exists(folder / "huge.cpp"));
}

TEST_F(Conversion, UnprivilegedFaults) {
  WriteFile(folder / "in", "new");
  WriteFile(folder / "in.cpp", "old");
  chmod((folder / "in.cpp").c_str(), 0444);
  RunResult run = RunBinary({"-i", "in"}, {.folder = folder.path(), .unprivileged = true});
  EXPECT_NE(run.output.find(" [ERROR] Can't write file: in.cpp\n\n"), std::string::npos) << run.output;
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_EQ(ReadFile(folder / "in.cpp"), "old");

  // A target that can't be read counts as absent; it can't be written either.
  chmod((folder / "in.cpp").c_str(), 0);
  run = RunBinary({"-i", "in"}, {.folder = folder.path(), .unprivileged = true});
  EXPECT_NE(run.output.find(" [ERROR] Can't write file: in.cpp\n\n"), std::string::npos) << run.output;
  chmod((folder / "in.cpp").c_str(), 0644);
  EXPECT_EQ(ReadFile(folder / "in.cpp"), "old");

  chmod((folder / "in").c_str(), 0);
  run = RunBinary({"-i", "in"}, {.folder = folder.path(), .unprivileged = true});
  EXPECT_NE(run.output.find(" [ERROR] Can't open file: in\n\n"), std::string::npos) << run.output;
  EXPECT_EQ(ListNames(folder.path()), (std::vector<std::string>{"in", "in.cpp"}));
}

TEST_F(Conversion, ClosedPipeNeverStopsTheRun) {
  WriteFile(folder / "a", "a");
  RunResult run = RunBinary({"-i", "a", "-md5", "-last"}, {.folder = folder.path(), .closedOutput = true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(ReadFile(folder / "a.md5"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_TRUE(Exists(folder / "a.h"));
}

}  // namespace
