// hexloom.exe, the Windows build, run under Wine: the same bytes as the Linux build, backslash paths, drive-letter
// scans, and the console text that Wine renders on a pseudo-terminal. Wine runs outside the sandbox: it writes its
// prefix, and every argument here is fixed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

class Wine : public testing::Test {
 protected:
  static bool Built() { return std::filesystem::exists(HEXLOOM_WINDOWS_BINARY); }
  // Wine's server and its service processes are started here, outside any run, and stay a minute after the last one:
  // started by a run, they would hold its terminal open, and its output would end only when they quit.
  static void SetUpTestSuite() {
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    if (Built())
      std::system("{ '" HEXLOOM_WINESERVER "' -p60; '" HEXLOOM_WINE "' wineboot; } </dev/null >/dev/null 2>&1");
  }

  void SetUp() override {
    if (!Built() && std::getenv("CI"))
      FAIL() << "no Windows build at " HEXLOOM_WINDOWS_BINARY " (cmake --preset windows)";
    if (!Built())
      GTEST_SKIP() << "no Windows build at " HEXLOOM_WINDOWS_BINARY " (cmake --preset windows)";
  }

  // Runs hexloom.exe under a pseudo-terminal, where Wine puts what _cprintf writes, and reads the text back from Wine's
  // rendering.
  RunResult RunExe(const std::vector<std::string>& arguments) {
    RunResult run = RunBinary(arguments, {.folder = folder.path(), .sandbox = false, .terminal = true,
                                          .program = {HEXLOOM_WINE, HEXLOOM_WINDOWS_BINARY}});
    run.output = Rendered(run.output);
    return run;
  }

  // Wine draws spaces as cursor moves ("\x1b[<n>C") and ends lines with "\r\r\n".
  static std::string Rendered(const std::string& screen) {
    std::string text;
    for (size_t i = 0; i < screen.size(); ++i) {
      if (screen.compare(i, 2, "\x1b[") != 0) {
        text += screen[i] == '\r' ? "" : screen.substr(i, 1);
        continue;
      }
      size_t end = i + 2;
      while (end < screen.size() && !std::isalpha(static_cast<unsigned char>(screen[end])))
        ++end;
      if (end < screen.size() && screen[end] == 'C')
        text.append(end == i + 2 ? 1 : std::stoul(screen.substr(i + 2, end - i - 2)), ' ');
      i = end;
    }
    return text;
  }

  ScratchFolder folder;
};

TEST_F(Wine, ConsoleTextAndExitCodes) {
  Spill(folder / "sky.png", std::string("\x00\x41\xff", 3));
  const struct {
    std::vector<std::string> arguments;
    std::string printed;  // after the banner
    int exitCode;
  } cases[] = {
      {{"-i", "sky.png", "-md5", "-last"},
       Converted("sky.png", {"sky.png.cpp", "sky.png.h"}) + Converted("sky.png", {"sky.png.md5"}) + kEnding, 0},
      {{"-X"}, "Invalid Parameter (1) : -X\n\n" + UsageText() + kEnding, kFailed},
      {{}, UsageText(), kFailed},
      {{"-i", "missing.bin"}, "Reading File: missing.bin\n" + Failed("Can't open file: missing.bin"), kFailed},
      {{"-p", "missing", ".bin"}, Failed("Can't open folder: missing"), kFailed},
  };
  for (const auto& c : cases) {
    RunResult run = RunExe(c.arguments);
    EXPECT_EQ(run.output, kBanner + c.printed);
    EXPECT_EQ(run.exitCode, c.exitCode);
  }
}

TEST_F(Wine, SameBytesAsTheLinuxBuild) {
  std::mt19937 random(11);
  std::string bytes(100003, '\0');
  std::ranges::generate(bytes, [&] { return static_cast<char>(random()); });
  for (std::vector<std::string> arguments : std::vector<std::vector<std::string>>{
           {}, {"-stl", "-dyn", "-nons", "-bw", "-dec", "-t0", "-u32"}, {"-bwns", "-8", "-t4", "-s32"}, {"-cxx_sha512"},
           {"-cpp_md5"}, {"-md5", "-i", "data.bin", "-sha1", "-i", "data.bin", "-sha256", "-i", "data.bin", "-sha512"}}) {
    ScratchFolder linux;
    for (const ScratchFolder* side : {&folder, &linux})
      Spill(*side / "data.bin", bytes), Spill(*side / "empty", "");
    arguments.insert(arguments.end(), {"-i", "data.bin", "-i", "empty"});
    ASSERT_EQ(RunExe(arguments).exitCode, 0);
    ASSERT_EQ(RunBinary(arguments, {.folder = linux.path()}).exitCode, 0);
    const std::vector<std::string> names = ListNames(linux.path());
    EXPECT_EQ(ListNames(folder.path()), names);
    for (const std::string& name : names) {
      EXPECT_EQ(Slurp(folder / name), Slurp(linux / name)) << name;
      unlink((folder / name).c_str());
    }
  }
}

// Backslash and drive-letter paths, trailing backslashes, a link cycle.
TEST_F(Wine, Paths) {
  for (const char* name : {"data", "data/Sub", "out", "bins"})
    mkdir((folder / name).c_str(), 0755);
  Spill(folder / "data/Logo.PNG", "logo");
  RunResult run = RunExe({"-i", "data\\Logo.PNG", "-o", "out\\", "-md5", "-i", "data\\Logo.PNG", "-o", "out",
                          "-cxx", "-i", "data/Logo.PNG"});
  EXPECT_EQ(run.output, kBanner + Converted("data\\Logo.PNG", {"data\\Logo.PNG.cpp", "data\\Logo.PNG.h"}) +
                            Converted("data\\Logo.PNG", {"out\\\\Logo.PNG.md5"}) +
                            Converted("data/Logo.PNG", {"out\\Logo.PNG.cxx"}) + kEnding);
  EXPECT_EQ(ListNames(folder / "out"), (std::vector<std::string>{"Logo.PNG.cxx", "Logo.PNG.md5"}));
  EXPECT_EQ(ListNames(folder / "data"), (std::vector<std::string>{"Logo.PNG", "Logo.PNG.cpp", "Logo.PNG.h", "Sub"}));

  for (const char* output : {"data/Logo.PNG.cpp", "data/Logo.PNG.h"})
    unlink((folder / output).c_str());
  std::filesystem::rename(folder / "data/Logo.PNG", folder / "data/Sub/Logo.PNG");
  ASSERT_EQ(symlink("..", (folder / "data/Sub/up").c_str()), 0);
  // The folder as Windows sees it through Wine's Z: drive.
  std::string data = "Z:" + folder.path() + "/data";
  std::replace(data.begin(), data.end(), '/', '\\');
  run = RunExe({"-p", data + "\\\\", ".PNG"});
  EXPECT_EQ(run.output, kBanner + ("[Apply] " + data + "\\Sub\\Logo.PNG\n") +
                            Converted(data + "\\Sub\\Logo.PNG", {data + "\\Sub\\logo.cpp", data + "\\Sub\\logo.h"}) +
                            kEnding);
  EXPECT_EQ(run.exitCode, 0);

  Spill(folder / "bins/My.Bin.Old.bin", "old");
  run = RunExe({"-sha1", "-o", "out", "-p", "bins\\", ".bin"});
  EXPECT_EQ(run.output, kBanner + ("[Apply] bins\\My.Bin.Old.bin\n" +
                                   Converted("bins\\My.Bin.Old.bin", {"out\\my.old.sha1"}) + kEnding));
  EXPECT_EQ(Slurp(folder / "out/my.old.sha1"), "c00dbbc9dadfbe1e232e93a729dd4752fade0abf");
}

}  // namespace
