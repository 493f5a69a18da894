// Change-aware writing on POSIX file systems: modification times, rights,
// links and a write that fails part way.
#include "convert/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "support/capture.h"
#include "support/settings_fixture.h"
#include "support/temp_folder.h"

namespace {

class WriteIfChangedTest : public SettingsTest {
 protected:
  ScratchFolder folder;
  std::string Write(const std::string& path, const std::string& content, bool* result = nullptr) {
    return CaptureConsole([&] {
      bool ok = WriteIfChanged(path, content);
      if (result)
        *result = ok;
    });
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(WriteIfChangedTest, WritesOnlyWhenTheBytesChange) {
  const std::string target = folder / "a.cpp";
  EXPECT_EQ(Write(target, "abc"), "Output filepath: " + target + "\n");
  EXPECT_EQ(Slurp(target), "abc");
  struct timespec old[2] = {{1000, 0}, {1000, 0}};
  utimensat(AT_FDCWD, target.c_str(), old, 0);
  EXPECT_EQ(Write(target, "abc"), "No overwrite, same data for : " + target + "\n");
  struct stat info;
  stat(target.c_str(), &info);
  EXPECT_EQ(info.st_mtim.tv_sec, 1000);
  EXPECT_EQ(Write(target, "abcd"), "Output filepath: " + target + "\n");
  EXPECT_EQ(Slurp(target), "abcd");
  EXPECT_EQ(Write(target, "xbcd"), "Output filepath: " + target + "\n");
  EXPECT_EQ(Slurp(target), "xbcd");
  EXPECT_EQ(Write(target, ""), "Output filepath: " + target + "\n");
  EXPECT_EQ(Slurp(target), "");
  EXPECT_EQ(Names(), std::vector<std::string>{"a.cpp"});
  EXPECT_EQ(g_settings.exitCode, 0);
}

TEST_F(WriteIfChangedTest, TestModeComparesButNeverWrites) {
  g_settings.testMode = true;
  const std::string target = folder / "t.h";
  EXPECT_EQ(Write(target, "new"), "Output filepath: " + target + "\n");
  EXPECT_FALSE(std::filesystem::exists(target));
  Spill(target, "old");
  EXPECT_EQ(Write(target, "new"), "Output filepath: " + target + "\n");
  EXPECT_EQ(Slurp(target), "old");
  EXPECT_EQ(Write(target, "old"), "No overwrite, same data for : " + target + "\n");
}

TEST_F(WriteIfChangedTest, UnwritableTargets) {
  bool ok = true;
  std::filesystem::create_directory(folder / "dir.cpp");
  EXPECT_EQ(Write(folder / "dir.cpp", "x", &ok), " [ERROR] Can't write file: " + (folder / "dir.cpp") + "\n\n");
  EXPECT_FALSE(ok);
  EXPECT_EQ(g_settings.exitCode, -1);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.cpp"));
  const std::string missing = folder / "no such folder/a.cpp";
  EXPECT_EQ(Write(missing, "x", &ok), " [ERROR] Can't write file: " + missing + "\n\n");
  EXPECT_FALSE(ok);
  EXPECT_EQ(Names(), std::vector<std::string>{"dir.cpp"});
}

TEST_F(WriteIfChangedTest, RefusesToOverwriteTheInput) {
  const std::string input = folder / "a.cpp";
  Spill(input, "original");
  std::filesystem::create_hard_link(input, folder / "link.cpp");
  g_settings.currentInputPath = input.c_str();
  bool ok = true;
  EXPECT_EQ(Write(folder / "link.cpp", "generated", &ok),
            " [ERROR] Output would overwrite its input: " + (folder / "link.cpp") + "\n\n");
  EXPECT_FALSE(ok);
  EXPECT_EQ(g_settings.exitCode, -1);
  EXPECT_EQ(Slurp(input), "original");
  // Same text is not the same file.
  g_settings.exitCode = 0;
  Spill(folder / "b.cpp", "x");
  EXPECT_TRUE(WriteIfChanged(folder / "b.cpp", "original"));
}

TEST_F(WriteIfChangedTest, KeepsPermissionsAndLinks) {
  const std::string target = folder / "mode.cpp";
  Spill(target, "old");
  chmod(target.c_str(), 0640);
  Write(target, "new");
  struct stat info;
  stat(target.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  Spill(folder / "real.h", "old");
  std::filesystem::create_symlink("real.h", folder / "alias.h");
  Write(folder / "alias.h", "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "alias.h"));
  EXPECT_EQ(Slurp(folder / "real.h"), "new");
}

TEST_F(WriteIfChangedTest, OddNames) {
  for (const char* name : {"with space.cpp", "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5.h", "new\nline.md5"}) {
    const std::string target = folder / name;
    EXPECT_EQ(Write(target, name), "Output filepath: " + target + "\n");
    EXPECT_EQ(Slurp(target), name);
  }
}

TEST_F(WriteIfChangedTest, FailedWriteLeavesTheOldTargetWhole) {
  const std::string target = folder / "big.cpp";
  const std::string old(100000, 'o');
  Spill(target, old);
  pid_t child = fork();
  if (child == 0) {
    // Writes past 64 KiB fail with EFBIG once SIGXFSZ no longer kills.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {65536, 65536};
    setrlimit(RLIMIT_FSIZE, &limit);
    bool ok = WriteIfChanged(target, std::string(200000, 'n'));
    _exit(!ok && g_settings.exitCode == -1 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Slurp(target), old);
  EXPECT_EQ(Names(), std::vector<std::string>{"big.cpp"});
}

}  // namespace
