// File access details that only POSIX systems can show: console check
// messages, pipes, links, owners and rights.
#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <functional>
#include <tuple>
#include <thread>
#include <unistd.h>

#include "support/capture.h"
#include "support/temp_folder.h"

namespace {

// That they fail is tested with the other platforms; here, that only an
// empty path says so on the console.
TEST(FileAccess, FoldersAndMissingFilesPrintNothing) {
  ScratchFolder folder;
  EXPECT_EQ(CaptureConsole([&] {
              EXPECT_FALSE(FileExists(folder.path().c_str()));
              ReadBack(folder / "missing");
            }),
            "");
  EXPECT_EQ(CaptureConsole([] { EXPECT_FALSE(FileExists("")); }), "path() \n\n");
}

// A pipe is read to its end; a FIFO without a writer reads as empty.
TEST(FileAccess, PipesAndFifos) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread writer([&] {
    EXPECT_EQ(write(ends[1], std::string(200000, 'p').data(), 200000), 200000);
    close(ends[1]);
  });
  EXPECT_EQ(ReadBack("/dev/fd/" + std::to_string(ends[0])), std::string(200000, 'p'));
  writer.join();
  close(ends[0]);
  ScratchFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  bool ok = false;
  EXPECT_EQ(ReadBack(folder / "fifo", &ok), "");
  EXPECT_TRUE(ok);
}

constexpr uid_t kRoot = 0;
constexpr uid_t kNobody = 65534;
const std::string kOld = "an old text, longer than the new";

// Writes in a child process that runs as `user` (user and group).
bool WriteAs(uid_t user, const std::string& path, const std::string& text, const std::function<void()>& limit = {}) {
  pid_t child = fork();
  if (child == 0) {
    if (user != kRoot && (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0))
      _exit(2);
    if (limit)
      limit();
    _exit(WriteWholeFile(path.c_str(), text) ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

enum class Outcome { Created, Replaced, InPlace };

struct ReplaceCase {
  const char* what;
  // Prepares the folder `d`, where "out" is then written.
  std::function<void(const std::string& d)> arrange;
  uid_t writer;
  const char* file;  // the name, in `d`, of the file that gets the new text
  Outcome outcome;
};

void Own(const std::string& path, uid_t user, gid_t group, mode_t mode) {
  ASSERT_EQ(chown(path.c_str(), user, group) | chmod(path.c_str(), mode), 0);
}

// "out" holds the old text, with that owner, group and rights, in a folder
// of root with `folderMode`.
std::function<void(const std::string&)> OldFile(uid_t user, gid_t group, mode_t mode, mode_t folderMode) {
  return [=](const std::string& d) {
    Spill(d + "/out", kOld);
    Own(d + "/out", user, group, mode);
    Own(d, kRoot, kRoot, folderMode);
  };
}

const ReplaceCase kReplaceCases[] = {
    {"root keeps the owner and rights", OldFile(123, 456, 0640, 0755), kRoot, "out", Outcome::Replaced},
    {"a link stays a link",
     [](const std::string& d) { Spill(d + "/real", kOld), symlink("real", (d + "/out").c_str()); }, kRoot, "real",
     Outcome::Replaced},
    {"a dangling link gets its file",
     [](const std::string& d) { mkdir((d + "/sub").c_str(), 0755), symlink("sub/made", (d + "/out").c_str()); }, kRoot,
     "sub/made", Outcome::Created},
    {"hard links all see the text",
     [](const std::string& d) { Spill(d + "/twin", kOld), link((d + "/twin").c_str(), (d + "/out").c_str()); }, kRoot,
     "twin", Outcome::InPlace},
    {"a read-only folder", OldFile(kNobody, kNobody, 0644, 0555), kNobody, "out", Outcome::InPlace},
    {"someone else's group-writable file", OldFile(kRoot, kNobody, 0664, 0777), kNobody, "out", Outcome::InPlace},
    {"an own file of a foreign group", OldFile(kNobody, kRoot, 0644, 0777), kNobody, "out", Outcome::InPlace},
    {"an own file", OldFile(kNobody, kNobody, 0600, 0777), kNobody, "out", Outcome::Replaced},
};

TEST(FileAccess, ReplacingKeepsLinksOwnersAndRights) {
  if (geteuid() != kRoot)
    GTEST_SKIP() << "changing owners needs root";
  for (const ReplaceCase& test : kReplaceCases) {
    SCOPED_TRACE(test.what);
    ScratchFolder folder;
    const std::string d = folder / "d", out = d + "/out", file = d + "/" + test.file;
    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(mkdir(d.c_str(), 0755), 0);
    test.arrange(d);
    struct stat before {}, after {};
    stat(file.c_str(), &before);
    const bool wasLink = std::filesystem::is_symlink(out);
    ASSERT_TRUE(WriteAs(test.writer, out, "new"));
    EXPECT_EQ(Slurp(file), "new");
    EXPECT_EQ(Slurp(out), "new");
    EXPECT_EQ(std::filesystem::is_symlink(out), wasLink);
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    if (test.outcome == Outcome::Created)
      continue;
    EXPECT_EQ(after.st_ino == before.st_ino, test.outcome == Outcome::InPlace);
    EXPECT_EQ(std::tie(after.st_mode, after.st_uid, after.st_gid), std::tie(before.st_mode, before.st_uid, before.st_gid));
  }
}

TEST(FileAccess, ImpossibleWritesTouchNothing) {
  ScratchFolder folder;
  symlink("out", (folder / "out").c_str());
  symlink("nowhere/x", (folder / "lost").c_str());
  EXPECT_FALSE(WriteWholeFile((folder / "out").c_str(), "x"));
  EXPECT_FALSE(WriteWholeFile((folder / "lost").c_str(), "x"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "out"));
  EXPECT_FALSE(std::filesystem::exists(folder / "nowhere"));
}

TEST(FileAccess, InPlaceRewriteStartsOnceTheTextIsWhole) {
  ScratchFolder folder;
  const std::string old(100000, 'o');
  Spill(folder / "a", old);
  std::filesystem::create_hard_link(folder / "a", folder / "b");
  // Making the text fails at 64 KiB, before the target is touched.
  EXPECT_FALSE(WriteAs(kRoot, folder / "a", std::string(200000, 'n'), [] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {65536, 65536};
    setrlimit(RLIMIT_FSIZE, &limit);
  }));
  EXPECT_EQ(Slurp(folder / "b"), old);
}

}  // namespace
