// hexloom.exe, the Windows build, run under Wine: the same bytes as the
// Linux build, backslash paths, exit codes, and the console text that Wine
// renders on a pseudo-terminal.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <regex>

#include "e2e/support.h"

namespace {

class Wine : public testing::Test {
 protected:
  void SetUp() override {
    if (!Exists(HEXLOOM_WINDOWS_BINARY))
      GTEST_SKIP() << "no Windows build at " HEXLOOM_WINDOWS_BINARY " (cmake --preset windows)";
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
  }

  // Runs hexloom.exe under a pseudo-terminal, where Wine puts what
  // _cprintf writes, and reads the text back from Wine's rendering.
  RunResult RunExe(const std::vector<std::string>& arguments) {
    RunResult run = RunBinary(arguments, {.folder = folder.path(), .terminal = true,
                                          .program = {HEXLOOM_WINE, HEXLOOM_WINDOWS_BINARY}});
    run.output = Rendered(run.output);
    return run;
  }

  // Wine draws spaces as cursor moves and ends lines with "\r\r\n".
  static std::string Rendered(const std::string& screen) {
    std::string text;
    for (size_t i = 0; i < screen.size(); ++i) {
      if (screen[i] == '\r')
        continue;
      if (screen[i] != '\x1b' || i + 1 >= screen.size() || screen[i + 1] != '[') {
        text += screen[i];
        continue;
      }
      size_t end = i + 2;
      while (end < screen.size() && !std::isalpha(static_cast<unsigned char>(screen[end])))
        ++end;
      if (end < screen.size() && screen[end] == 'C') {
        std::string count = screen.substr(i + 2, end - i - 2);
        text.append(count.empty() ? 1 : std::stoul(count), ' ');
      }
      i = end;
    }
    return text;
  }

  // The folder as Windows sees it through Wine's Z: drive.
  std::string WindowsPath(const std::string& relative = "") const {
    std::string path = "Z:" + folder.path() + (relative.empty() ? "" : "/" + relative);
    for (char& c : path)
      c = c == '/' ? '\\' : c;
    return path;
  }

  TempFolder folder;
};

std::string Conversion(const std::string& input, std::initializer_list<std::string> outputs) {
  std::string text = "Reading File: " + input + "\nConverting...\n";
  for (const std::string& output : outputs)
    text += "Output filepath: " + output + "\n";
  return text + "\n";
}

TEST_F(Wine, ConsoleTextAndExitCodes) {
  WriteFile(folder / "sky.png", std::string("\x00\x41\xff", 3));
  RunResult run = RunExe({"-i", "sky.png", "-md5", "-last"});
  EXPECT_EQ(run.output, kBanner + Conversion("sky.png", {"sky.png.cpp", "sky.png.h"}) +
                            Conversion("sky.png", {"sky.png.md5"}) + kEnding);
  EXPECT_EQ(run.exitCode, 0);

  run = RunExe({"-i", "sky.png"});
  EXPECT_EQ(run.output, kBanner +
                            std::string("Reading File: sky.png\nConverting...\n"
                                        "No overwrite, same data for : sky.png.cpp\n"
                                        "No overwrite, same data for : sky.png.h\n\n") +
                            kEnding);

  run = RunExe({"-X"});
  EXPECT_EQ(run.output, kBanner + std::string("Invalid Parameter (1) : -X\n\n") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);

  run = RunExe({});
  EXPECT_EQ(run.output, kBanner + UsageText());
  EXPECT_EQ(run.exitCode, 255);

  run = RunExe({"-i", "missing.bin"});
  EXPECT_EQ(run.output, kBanner + std::string("Reading File: missing.bin\n [ERROR] Can't open file: missing.bin\n\n") +
                            UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

TEST_F(Wine, SameBytesAsTheLinuxBuild) {
  std::mt19937 random(11);
  std::string bytes(100003, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random());
  const std::vector<std::vector<std::string>> styles = {
      {},
      {"-stl", "-dyn", "-nons", "-bw", "-dec", "-t0", "-u32"},
      {"-bwns", "-8", "-t4", "-s32"},
      {"-cxx_sha512"},
      {"-cpp_md5"},
      {"-md5", "-i", "data.bin", "-sha1", "-i", "data.bin", "-sha256", "-i", "data.bin", "-sha512"},
  };
  for (const std::vector<std::string>& style : styles) {
    TempFolder linux;
    for (const TempFolder* side : {&folder, &linux}) {
      WriteFile(*side / "data.bin", bytes);
      WriteFile(*side / "empty", "");
    }
    std::vector<std::string> arguments = style;
    for (const char* input : {"data.bin", "empty"}) {
      arguments.push_back("-i");
      arguments.push_back(input);
    }
    ASSERT_EQ(RunExe(arguments).exitCode, 0);
    ASSERT_EQ(RunBinary(arguments, {.folder = linux.path()}).exitCode, 0);
    const std::vector<std::string> names = ListNames(linux.path());
    EXPECT_EQ(ListNames(folder.path()), names);
    for (const std::string& name : names)
      EXPECT_EQ(ReadFile(folder / name), ReadFile(linux / name)) << name;
    for (const std::string& name : names)
      unlink((folder / name).c_str());
  }
}

TEST_F(Wine, BackslashNaming) {
  mkdir((folder / "data").c_str(), 0755);
  mkdir((folder / "out").c_str(), 0755);
  WriteFile(folder / "data/Logo.PNG", "logo");
  RunResult run = RunExe({"-i", "data\\Logo.PNG", "-o", "out\\", "-md5", "-i", "data\\Logo.PNG", "-o", "out",
                          "-cxx", "-i", "data/Logo.PNG"});
  EXPECT_EQ(run.output, kBanner + Conversion("data\\Logo.PNG", {"data\\Logo.PNG.cpp", "data\\Logo.PNG.h"}) +
                            Conversion("data\\Logo.PNG", {"out\\\\Logo.PNG.md5"}) +
                            Conversion("data/Logo.PNG", {"out\\Logo.PNG.cxx"}) + kEnding);
  EXPECT_TRUE(Exists(folder / "data/Logo.PNG.h"));
  EXPECT_EQ(ListNames(folder / "out"), (std::vector<std::string>{"Logo.PNG.cxx", "Logo.PNG.md5"}));
}

TEST_F(Wine, ScanWithDrivePathsAndTrailingBackslashes) {
  mkdir((folder / "data").c_str(), 0755);
  mkdir((folder / "data/Sub").c_str(), 0755);
  WriteFile(folder / "data/Sub/Logo.PNG", "logo");
  const std::string data = WindowsPath("data");
  RunResult run = RunExe({"-p", data + "\\\\", ".PNG"});
  EXPECT_EQ(run.output, std::string(kBanner) + "[Apply] " + data + "\\Sub\\Logo.PNG\n" +
                            Conversion(data + "\\Sub\\Logo.PNG", {data + "\\Sub\\logo.cpp", data + "\\Sub\\logo.h"}) +
                            kEnding);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Exists(folder / "data/Sub/logo.cpp"));

  mkdir((folder / "bins").c_str(), 0755);
  mkdir((folder / "out").c_str(), 0755);
  WriteFile(folder / "bins/My.Bin.Old.bin", "old");
  run = RunExe({"-sha1", "-o", "out", "-p", "bins\\", ".bin"});
  EXPECT_EQ(run.output, kBanner + std::string("[Apply] bins\\My.Bin.Old.bin\n") +
                            Conversion("bins\\My.Bin.Old.bin", {"out\\my.old.sha1"}) + kEnding);
  EXPECT_EQ(ReadFile(folder / "out/my.old.sha1"), "c00dbbc9dadfbe1e232e93a729dd4752fade0abf");
}

TEST_F(Wine, SameRulesAsThePosixBuild) {
  WriteFile(folder / "a", "a");
  RunResult run = RunExe({"-test", "-i", "a", "-o", "nowhere", "-i", "a"});
  EXPECT_EQ(run.output, kBanner + std::string("**** TEST ENABLED ****\n\n") + Conversion("a", {"a.cpp", "a.h"}) +
                            Conversion("a", {"nowhere\\a.cpp", "nowhere\\a.h"}) + kEnding);
  EXPECT_EQ(ListNames(folder.path()), std::vector<std::string>{"a"});

  run = RunExe({"-o", "nowhere", "-i", "a", "-i", "a"});
  EXPECT_EQ(run.output, kBanner + std::string("Reading File: a\nConverting...\n [ERROR] Can't write file: nowhere\\a.cpp\n\n") +
                            UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);

  run = RunExe({"-last"});
  EXPECT_EQ(run.output, kBanner + std::string("No Input file: -i yourFile.bin\n\n") + UsageText() + kEnding);

  // A scan tag equal to an output extension would write over the input.
  mkdir((folder / "src").c_str(), 0755);
  WriteFile(folder / "src/b.cpp", "int b;");
  run = RunExe({"-p", "src", ".cpp"});
  EXPECT_EQ(run.output, kBanner + std::string("[Apply] src\\b.cpp\nReading File: src\\b.cpp\nConverting...\n"
                                              " [ERROR] Output would overwrite its input: src\\b.cpp\n\n") +
                            UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_EQ(ReadFile(folder / "src/b.cpp"), "int b;");
}

TEST_F(Wine, ScanErrorsAndLinkCycles) {
  mkdir((folder / "data").c_str(), 0755);
  WriteFile(folder / "data/x.bin", "x");
  ASSERT_EQ(symlink("..", (folder / "data/up").c_str()), 0);
  RunResult run = RunExe({"-md5", "-p", "data", ".bin"});
  EXPECT_EQ(run.output, kBanner + std::string("[Apply] data\\x.bin\n") + Conversion("data\\x.bin", {"data\\x.md5"}) +
                            kEnding);
  EXPECT_EQ(run.exitCode, 0);

  run = RunExe({"-p", "missing", ".bin"});
  EXPECT_EQ(run.output, kBanner + std::string(" [ERROR] Can't open folder: missing\n\n") + UsageText() + kEnding);
  EXPECT_EQ(run.exitCode, 255);
}

}  // namespace
