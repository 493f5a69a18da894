// What only a whole run shows: interruptions, pipes opened before their writer, files whose size lies, and a run
// under an address-space limit.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <sstream>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

constexpr char kTemporaryStart[] = ".hexloom-";

// A file of that size that costs no disk.
void Sparse(const std::string& path, long long size) {
  Spill(path, "");
  std::filesystem::resize_file(path, size);
}

std::string Md5Sum(const std::string& path) {
  return Shell("md5sum < '" + path + "'").substr(0, 32);
}

ino_t Inode(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_ino;
}

bool Ended(int child) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

// Waits for the run's temporary file to appear and returns the number of the process writing it (the first number of
// its name); 0 when the run ended first.
pid_t WriterOfTemporary(const std::string& folder, int child) {
  while (!Ended(child)) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(kTemporaryStart, 0) == 0)
        return static_cast<pid_t>(std::stol(name.substr(sizeof kTemporaryStart - 1)));
    }
  }
  return 0;
}

// An interrupted write removes its temporary, keeps the old output and ends the run as the signal would.
TEST(Limits, InterruptionRemovesTheTemporary) {
  const std::pair<int, int> signals[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& [signal, status] : signals) {
    ScratchFolder folder;
    Sparse(folder / "big", 50 << 20);
    Spill(folder / "big.cxx", "old");
    const auto interrupt = [&](int child) {
      const pid_t writer = WriterOfTemporary(folder.path(), child);
      ASSERT_NE(writer, 0);
      kill(writer, signal);
    };
    const RunResult run = RunBinary({"-cxx", "-i", "big"}, {.folder = folder.path(), .whileRunning = interrupt});
    EXPECT_EQ(run.exitCode, status) << signal;
    EXPECT_EQ(ListNames(folder.path()), (std::vector<std::string>{"big", "big.cxx"}));
    EXPECT_EQ(Slurp(folder / "big.cxx"), "old");
  }
}

// Whether some process waits for the lock on the file (a line "n: -> FLOCK ..." of /proc/locks naming its inode).
bool LockAwaited(const std::string& path) {
  const std::string inode = ":" + std::to_string(Inode(path)) + " ";
  std::istringstream locks(Slurp("/proc/locks"));
  for (std::string line; std::getline(locks, line);) {
    if (line.find("-> FLOCK") != std::string::npos && line.find(inode) != std::string::npos)
      return true;
  }
  return false;
}

// A rewrite in place waits for another holding the file, and leaves the file untouched until then.
TEST(Limits, RewriteInPlaceWaitsForTheLock) {
  ScratchFolder folder;
  Spill(folder / "x", "abc");
  Spill(folder / "x.cxx", "old");
  std::filesystem::create_hard_link(folder / "x.cxx", folder / "link");
  const int held = open((folder / "x.cxx").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  const auto release = [&](int child) {
    while (!LockAwaited(folder / "x.cxx") && !Ended(child))
      continue;
    EXPECT_EQ(Slurp(folder / "link"), "old");
    close(held);
  };
  // Outside the sandbox: the staged text goes to the system's temporary folder.
  const RunResult run =
      RunBinary({"-cxx", "-i", "x"}, {.folder = folder.path(), .sandbox = false, .whileRunning = release});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(Slurp(folder / "link").find("0x61, 0x62, 0x63"), std::string::npos);
}

// -i waits for a named pipe's writer, as cat does.
TEST(Limits, NamedPipeOpenedBeforeItsWriter) {
  ScratchFolder folder;
  const std::string pipe = folder / "ff";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const auto write = [&](int) {
    const int fd = open(pipe.c_str(), O_WRONLY);
    EXPECT_EQ(::write(fd, "hello\n", 6), 6);
    close(fd);
  };
  RunBinary({"-md5", "-i", "ff"}, {.folder = folder.path(), .whileRunning = write});
  EXPECT_EQ(Slurp(folder / "ff.md5"), "b1946ac92492d2347c6235b4d2611184");
}

// Files of /proc report a size of 0 and files of /sys one of a page, whatever they hold.
TEST(Limits, FilesWhoseSizeLies) {
  ScratchFolder folder;
  for (const std::string input : {"/proc/version", "/sys/devices/system/cpu/possible"}) {
    RunBinary({"-o", ".", "-md5", "-i", input}, {.folder = folder.path()});
    EXPECT_EQ(Slurp(folder / (input.substr(input.rfind('/') + 1) + ".md5")), Md5Sum(input)) << input;
  }
}

// A checksum takes the same little memory whatever the input's size; an endless input refused for a source stays within
// the limit and leaves nothing behind.
TEST(Limits, AddressSpaceLimit) {
  ScratchFolder folder;
  constexpr long long kLimit = 100 << 20;
  Sparse(folder / "big", 3 * kLimit);
  RunResult run = RunBinary({"-md5", "-i", "big"}, {.folder = folder.path(), .addressSpaceLimit = kLimit});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Slurp(folder / "big.md5"), Md5Sum(folder / "big"));
  run = RunBinary({"-o", ".", "-i", "/dev/zero"}, {.folder = folder.path(), .addressSpaceLimit = kLimit});
  EXPECT_EQ(run.output,
            kBanner + ("Reading File: /dev/zero\n" + Failed("File too large to hold in memory: /dev/zero")));
  EXPECT_EQ(ListNames(folder.path()), (std::vector<std::string>{"big", "big.md5"}));
}

}  // namespace
