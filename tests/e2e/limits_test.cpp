// What only a whole run shows: interruptions, the lock of a rewrite in place, pipes opened before their writer, files
// whose size lies, and an address-space limit.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <regex>
#include <tuple>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

// Waits until `seen` or the run's end; returns whether it was seen.
bool WaitFor(int child, const std::function<bool()>& seen) {
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0) {
    if (seen())
      return true;
  }
  return false;
}

// An interrupted write removes its temporary, keeps the old output and ends the run as the signal would; a hangup that
// the run was started ignoring (nohup) stays ignored. The pid to signal is the first number of the temporary's name.
TEST(Limits, InterruptionRemovesTheTemporary) {
  const std::tuple<int, bool, int> cases[] = {
      {SIGINT, false, 130}, {SIGTERM, false, 143}, {SIGHUP, false, 129}, {SIGHUP, true, 0}};
  for (const auto& [signal, ignored, status] : cases) {
    ScratchFolder folder;
    Spill(folder / "big", "");
    std::filesystem::resize_file(folder / "big", 50 << 20);
    Spill(folder / "big.cxx", "old");
    const auto interrupt = [&](int child) {
      std::string name;
      ASSERT_TRUE(WaitFor(child, [&] { return (name = ListNames(folder.path())[0]).rfind(".hexloom-", 0) == 0; }));
      kill(std::stoi(name.substr(9)), signal);
    };
    EXPECT_EQ(
        RunBinary({"-cxx", "-i", "big"}, {.folder = folder.path(), .hangupIgnored = ignored, .whileRunning = interrupt})
            .exitCode,
        status);
    EXPECT_EQ(ListNames(folder.path()), (std::vector<std::string>{"big", "big.cxx"}));
    EXPECT_EQ(Slurp(folder / "big.cxx") == "old", status != 0);
  }
}

// A rewrite in place waits for another holding the file (a "-> FLOCK" line of /proc/locks names its inode), and
// leaves the file untouched until then. Outside the sandbox: the text is staged in the system's temporary folder.
TEST(Limits, RewriteInPlaceWaitsForTheLock) {
  ScratchFolder folder;
  Spill(folder / "x", "abc");
  Spill(folder / "x.cxx", "old");
  std::filesystem::create_hard_link(folder / "x.cxx", folder / "link");
  const int held = open((folder / "x.cxx").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  struct stat info {};
  stat((folder / "x.cxx").c_str(), &info);
  const std::regex waiter("-> FLOCK.*:" + std::to_string(info.st_ino) + " ");  // "." never crosses a line end
  const auto release = [&](int child) {
    EXPECT_TRUE(WaitFor(child, [&] { return std::regex_search(Slurp("/proc/locks"), waiter); }));
    EXPECT_EQ(Slurp(folder / "link"), "old");
    close(held);
  };
  EXPECT_EQ(
      RunBinary({"-cxx", "-i", "x"}, {.folder = folder.path(), .sandbox = false, .whileRunning = release}).exitCode, 0);
  EXPECT_NE(Slurp(folder / "link").find("0x61, 0x62, 0x63"), std::string::npos);
}

// -i waits for a named pipe's writer, as cat does; files of /proc and /sys are read past the size they report.
TEST(Limits, PipesAndFilesWhoseSizeLies) {
  ScratchFolder folder;
  ASSERT_EQ(mkfifo((folder / "ff").c_str(), 0600), 0);
  const auto write = [&](int) { Spill(folder / "ff", "hello\n"); };
  RunBinary({"-md5", "-i", "ff"}, {.folder = folder.path(), .whileRunning = write});
  EXPECT_EQ(Slurp(folder / "ff.md5"), "b1946ac92492d2347c6235b4d2611184");
  for (const std::string input : {"/proc/version", "/sys/devices/system/cpu/possible"}) {
    RunBinary({"-o", ".", "-md5", "-i", input}, {.folder = folder.path()});
    EXPECT_EQ(Slurp(folder / (input.substr(input.rfind('/') + 1) + ".md5")), Shell("md5sum < " + input).substr(0, 32));
  }
}

// A checksum takes the same little memory whatever the input's size; an endless input refused for a source stays within
// the limit and leaves nothing behind.
TEST(Limits, AddressSpaceLimit) {
  if (!AddressSpaceLimitsApply())
    GTEST_SKIP() << "qemu-user or a sanitizer reserves more address space for itself than the limit";
  ScratchFolder folder;
  constexpr long long kLimit = 100 << 20;
  Spill(folder / "big", "");
  std::filesystem::resize_file(folder / "big", 3 * kLimit);
  EXPECT_EQ(RunBinary({"-md5", "-i", "big"}, {.folder = folder.path(), .addressSpaceLimit = kLimit}).exitCode, 0);
  EXPECT_EQ(Slurp(folder / "big.md5"), Shell("md5sum < " + folder / "big").substr(0, 32));
  const RunResult run =
      RunBinary({"-o", ".", "-i", "/dev/zero"}, {.folder = folder.path(), .addressSpaceLimit = kLimit});
  EXPECT_EQ(run.output,
            kBanner + ("Reading File: /dev/zero\n" + Failed("File too large to hold in memory: /dev/zero")));
  EXPECT_EQ(ListNames(folder.path()), (std::vector<std::string>{"big", "big.md5"}));
}

}  // namespace
