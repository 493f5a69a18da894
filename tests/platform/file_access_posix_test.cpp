// File access details that only POSIX systems can show: console check
// messages and pipes.
#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/capture.h"
#include "support/temp_folder.h"

namespace {

TEST(FileAccess, FoldersAndMissingFilesPrintNothing) {
  ScratchFolder folder;
  std::string printed = CaptureConsole([&] {
    EXPECT_FALSE(FileExists(folder.path().c_str()));
    EXPECT_FALSE(FileExists((folder / "missing").c_str()));
    bool ok = true;
    ReadBack(folder.path(), &ok);
    EXPECT_FALSE(ok);
    ReadBack(folder / "missing", &ok);
    EXPECT_FALSE(ok);
  });
  EXPECT_EQ(printed, "");
}

TEST(FileAccess, EmptyPathIsReported) {
  EXPECT_EQ(CaptureConsole([] { EXPECT_FALSE(FileExists("")); }), "path() \n\n");
}

TEST(FileAccess, PipesAreReadToTheirEnd) {
  ScratchFolder folder;
  const std::string fifo = folder / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  pid_t child = fork();
  if (child == 0) {
    std::ofstream(fifo, std::ios::binary) << std::string(200000, 'p');
    _exit(0);
  }
  EXPECT_EQ(ReadBack(fifo), std::string(200000, 'p'));
  waitpid(child, nullptr, 0);
}

}  // namespace
