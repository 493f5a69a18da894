// File access details that only POSIX systems can show: console check
// messages and pipes.
#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <thread>
#include <unistd.h>

#include "support/capture.h"
#include "support/temp_folder.h"

namespace {

TEST(FileAccess, FoldersAndMissingFilesPrintNothing) {
  ScratchFolder folder;
  // That they fail is tested with the other platforms; here, that they say nothing.
  EXPECT_EQ(CaptureConsole([&] {
              FileExists(folder.path().c_str());
              ReadBack(folder / "missing");
            }),
            "");
}

TEST(FileAccess, EmptyPathIsReported) {
  EXPECT_EQ(CaptureConsole([] { EXPECT_FALSE(FileExists("")); }), "path() \n\n");
}

TEST(FileAccess, PipesAreReadToTheirEnd) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread writer([&] {
    const std::string bytes(200000, 'p');
    EXPECT_EQ(write(ends[1], bytes.data(), bytes.size()), 200000);
    close(ends[1]);
  });
  EXPECT_EQ(ReadBack("/dev/fd/" + std::to_string(ends[0])), std::string(200000, 'p'));
  writer.join();
  close(ends[0]);
}

TEST(FileAccess, FifoWithoutWriterReadsAsEmpty) {
  ScratchFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  bool ok = false;
  EXPECT_EQ(ReadBack(folder / "fifo", &ok), "");
  EXPECT_TRUE(ok);
}

}  // namespace
