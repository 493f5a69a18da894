// File access details that only POSIX systems can show: console messages, pipes, links, owners and rights.
#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <limits.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <tuple>

#include "platform/interrupt.h"
#include "support/temp_folder.h"

namespace {

// A temporary of the longest path there may be ("./" parts fill it) is still removed on an interruption, and stays
// marked when a path too long to be kept is refused after it.
TEST(FileAccess, InterruptionRemovesATemporaryOfTheLongestPath) {
  const ScratchFolder folder;
  std::string path = folder.path() + "/", name = (PATH_MAX - 1 - path.size()) % 2 ? "t" : "tt";
  while (path.size() + name.size() < PATH_MAX - 1)
    path += "./";
  Spill(folder / name, "x");
  const RemovedOnInterrupt marked(path + name);
  (void)RemovedOnInterrupt(path + name + "x");
  RemoveMarkedFiles();
  EXPECT_FALSE(std::filesystem::exists(folder / name));
}

// A hold that ends with nothing pending leaves nothing pending: the next one ends as quietly, and lets go.
TEST(FileAccess, HoldsOneAfterAnotherLetTheProcessGoOn) {
  for (int hold = 0; hold < 2; ++hold)
    const Uninterruptible held;
  EXPECT_FALSE(InterruptsHeld());
}

// A pipe is read to its end, waiting for its writer; a FIFO without a writer reads as empty. A folder and an empty path
// are no files; a loop of links can't be written.
TEST(FileAccess, PipesFifosAndQuietFailures) {
  const std::string text(200000, 'p');
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread writer([&] {
    EXPECT_EQ(write(ends[1], text.data(), text.size()), 200000);
    close(ends[1]);
  });
  EXPECT_EQ(ReadBack("/dev/fd/" + std::to_string(ends[0])), text);
  writer.join();
  close(ends[0]);
  ScratchFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  bool ok = false;
  EXPECT_EQ(ReadBack(folder / "fifo", &ok), "");
  EXPECT_TRUE(ok);
  ASSERT_EQ(symlink("loop", (folder / "loop").c_str()), 0);
  EXPECT_EQ(WriteWholeFile((folder / "loop").c_str(), "x"), WriteResult::Refused);
  EXPECT_FALSE(FileExists(folder.path().c_str()));
  EXPECT_FALSE(FileExists(""));
}

constexpr uid_t kRoot = 0, kNobody = 65534;
constexpr int kSetupFailed = 99;

// Writes in a child process that runs as `user` (user and group); a `tiny` one may write one byte to any file. Returns
// the write's result, or kSetupFailed.
int WriteAs(uid_t user, const std::string& path, const std::string& text, bool tiny) {
  const pid_t child = fork();
  if (child == 0) {
    if (user != kRoot && (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0))
      _exit(kSetupFailed);
    const rlimit oneByte = {1, 1};
    if (tiny && (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &oneByte) != 0))
      _exit(kSetupFailed);
    _exit(static_cast<int>(WriteWholeFile(path.c_str(), text)));
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : kSetupFailed;
}

const std::string kOld = "an old text, longer than the new";

enum class Link { None, Symbolic, Hard };
// Untouched: making the new text fails (as on a full disk) before the target is opened. Refused: the writer may not
// write the file (whether or not it may read it), though it may write in the folder.
enum class Outcome { Created, Replaced, InPlace, Untouched, Refused };

// In a folder of root with `folderMode`, `file` holds an old text with that owner, group and rights (unless the write
// creates it) and "out" is that file or a link to it; `writer` then writes "out".
struct ReplaceCase {
  const char* what;
  Link link;
  const char* file;
  uid_t owner;
  gid_t group;
  mode_t mode, folderMode;
  uid_t writer;
  Outcome outcome;
};

const ReplaceCase kReplaceCases[] = {
    {"root keeps the owner and rights", Link::None, "out", 123, 456, 0640, 0755, kRoot, Outcome::Replaced},
    {"a link stays a link", Link::Symbolic, "real", kRoot, kRoot, 0644, 0755, kRoot, Outcome::Replaced},
    {"a dangling link gets its file", Link::Symbolic, "sub/made", kRoot, kRoot, 0, 0755, kRoot, Outcome::Created},
    {"hard links all see the text", Link::Hard, "twin", kRoot, kRoot, 0644, 0755, kRoot, Outcome::InPlace},
    {"a read-only folder", Link::None, "out", kNobody, kNobody, 0644, 0555, kNobody, Outcome::InPlace},
    {"someone else's group-writable file", Link::None, "out", kRoot, kNobody, 0664, 0777, kNobody, Outcome::InPlace},
    {"an own file of a foreign group", Link::None, "out", kNobody, kRoot, 0644, 0777, kNobody, Outcome::InPlace},
    {"an own file", Link::None, "out", kNobody, kNobody, 0600, 0777, kNobody, Outcome::Replaced},
    {"a rewrite waits for the whole text", Link::Hard, "twin", kRoot, kRoot, 0644, 0755, kRoot, Outcome::Untouched},
    {"a full disk keeps the old file", Link::None, "out", kRoot, kRoot, 0644, 0755, kRoot, Outcome::Untouched},
    {"someone else's read-only file", Link::None, "out", kRoot, kRoot, 0444, 0777, kNobody, Outcome::Refused},
    {"someone else's closed file", Link::None, "out", kRoot, kRoot, 0, 0777, kNobody, Outcome::Refused},
};

TEST(FileAccess, ReplacingKeepsLinksOwnersAndRights) {
  if (geteuid() != kRoot)
    GTEST_SKIP() << "changing owners needs root";
  for (const ReplaceCase& test : kReplaceCases) {
    SCOPED_TRACE(test.what);
    ScratchFolder folder;
    const std::string d = folder / "d", out = d + "/out", file = d + "/" + test.file;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    if (test.outcome != Outcome::Created) {
      Spill(file, kOld);
      ASSERT_EQ(chown(file.c_str(), test.owner, test.group) | chmod(file.c_str(), test.mode), 0);
    }
    if (test.link != Link::None) {
      ASSERT_EQ(test.link == Link::Hard ? link(file.c_str(), out.c_str()) : symlink(test.file, out.c_str()), 0);
    }
    ASSERT_EQ(chmod(folder.path().c_str(), 0755) | chmod(d.c_str(), test.folderMode), 0);
    struct stat before = {}, after = {};
    stat(file.c_str(), &before);
    const bool full = test.outcome == Outcome::Untouched, refused = test.outcome == Outcome::Refused;
    const WriteResult result = full ? WriteResult::ShortWrite : refused ? WriteResult::Refused : WriteResult::Done;
    EXPECT_EQ(WriteAs(test.writer, out, "new", full), static_cast<int>(result));
    EXPECT_EQ(Slurp(file), full || refused ? kOld : "new");
    EXPECT_EQ(std::filesystem::is_symlink(out), test.link == Link::Symbolic);
    EXPECT_EQ(ListNames(d).size(), test.link == Link::None ? 1u : 2u);  // no temporary left behind
    stat(file.c_str(), &after);
    if (test.outcome == Outcome::Created)
      continue;
    EXPECT_EQ(after.st_ino == before.st_ino, test.outcome != Outcome::Replaced);
    EXPECT_EQ(std::make_tuple(after.st_uid, after.st_gid, after.st_mode & 07777),
              std::make_tuple(test.owner, test.group, test.mode));
  }
}

}  // namespace
