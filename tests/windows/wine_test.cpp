// hexloom.exe, the Windows build, run under Wine: the same bytes as the Linux build, backslash paths, drive-letter
// scans, and the console text that Wine renders on a pseudo-terminal. Wine runs outside the sandbox: it writes its
// prefix, and every argument here is fixed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <regex>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

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
};

// Runs hexloom.exe in the folder under a pseudo-terminal, where Wine puts what _cprintf writes, and reads the text back
// from Wine's rendering: it draws spaces as cursor moves ("\x1b[<n>C") and ends lines with "\r\r\n".
RunResult RunExe(const Names& arguments, const std::string& folder) {
  static const std::regex kControl("\x1b\\[([^A-Za-z]*)([A-Za-z])|\r");
  const RunResult run = RunBinary(
      arguments,
      {.folder = folder, .sandbox = false, .terminal = true, .program = {HEXLOOM_WINE, HEXLOOM_WINDOWS_BINARY}});
  std::string text;
  auto rest = run.output.cbegin();
  for (std::smatch m; std::regex_search(rest, run.output.cend(), m, kControl); rest = m.suffix().first)
    text += m.prefix().str() + std::string(m[2] == "C" ? std::max(1, std::atoi(m[1].str().c_str())) : 0, ' ');
  return {run.exitCode, text + std::string(rest, run.output.cend()), run.errors};
}

// Console text and exit codes: the usage, and a drive-letter scan with trailing backslashes through a link cycle.
// Windows paths in names and messages are shown by the unit tests, which run under Wine too.
TEST_F(Wine, ConsoleTextOfRunsWithWindowsPaths) {
  ScratchFolder folder;
  std::filesystem::create_directories(folder / "data/Sub");
  Spill(folder / "data/Sub/Logo.PNG", "logo");
  ASSERT_EQ(symlink("..", (folder / "data/Sub/up").c_str()), 0);
  RunResult run = RunExe({"-X"}, folder.path());
  EXPECT_EQ(run.output, kBanner + ("Invalid Parameter (1) : -X\n\n" + Golden("usage.txt") + kEnding));
  EXPECT_EQ(run.exitCode, kFailed);
  // The folder as Windows sees it through Wine's Z: drive.
  std::string sub = "Z:" + folder.path() + "/data/Sub";
  std::ranges::replace(sub, '/', '\\');
  run = RunExe({"-p", sub.substr(0, sub.rfind('\\')) + "\\\\", ".PNG"}, folder.path());
  EXPECT_EQ(run.output, kBanner + ("[Apply] " + sub + "\\Logo.PNG\n") +
                            Converted(sub + "\\Logo.PNG", {sub + "\\logo.cpp", sub + "\\logo.h"}) + kEnding);
  EXPECT_EQ(run.exitCode, 0);
}

// The sources of a file and of an empty one, checksums read in blocks, and a compressed catalogue, byte for byte as the
// Linux build writes them. Every style and digest is made by code that the unit tests run under Wine.
TEST_F(Wine, SameBytesAsTheLinuxBuild) {
  std::mt19937 random(11);
  std::string bytes(100003, '\0');
  std::ranges::generate(bytes, [&] { return static_cast<char>(random()); });
  const Names arguments = {"-i",    "data.bin", "-i",     "empty",  "-md5",      "-i", "data.bin", "-i",
                           "empty", "-cpp",     "-index", "packed", "-compress", "-i", "page.html"};
  ScratchFolder windows, linux;
  for (const ScratchFolder* side : {&windows, &linux})
    Spill(*side / "data.bin", bytes), Spill(*side / "empty", ""), Spill(*side / "page.html", std::string(999, 'x'));
  ASSERT_EQ(RunExe(arguments, windows.path()).exitCode, 0);
  ASSERT_EQ(RunBinary(arguments, {.folder = linux.path()}).exitCode, 0);
  ASSERT_EQ(ListNames(windows.path()), ListNames(linux.path()));
  for (const std::string& name : ListNames(linux.path()))
    EXPECT_EQ(Slurp(windows / name), Slurp(linux / name)) << name;
}

}  // namespace
