// -depfile: the file a whole run writes, and the runs that leave it alone.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

class Depfile : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"out", "d", "d/sub"})
      std::filesystem::create_directory(folder_ / folder);
    for (const char* file : {"x", "d/a b.txt", "d/k:v", "d/sub/c#$.bin"})
      Spill(folder_ / file, file);
  }
  RunResult Run(const std::vector<std::string>& arguments) { return RunBinary(arguments, {.folder = folder_.path()}); }
  ScratchFolder folder_;
};

// Every output once, in the order written, the catalogue's last; each input read once, and each folder listed.
TEST_F(Depfile, NamesTheOutputsAndWhatTheRunReadAndListed) {
  const std::vector<std::string> arguments = {"-q",    "-o",   "out",    "-depfile", "deps.d", "-i", "x", "-md5",
                                              "-last", "-cpp", "-index", "cat",      "-p",     "d",  ""};
  ASSERT_EQ(Run(arguments).exitCode, 0);
  EXPECT_EQ(Slurp(folder_ / "deps.d"),
            "out/x.cpp out/x.h out/x.md5 out/cat.cpp out/cat.h: \\\n  x \\\n  d \\\n  d/a\\ b.txt \\\n  d/k\\:v \\\n"
            "  d/sub \\\n  d/sub/c\\#$$.bin\nx:\nd:\nd/a\\ b.txt:\nd/k\\:v:\nd/sub:\nd/sub/c\\#$$.bin:\n");
  // Unchanged, it is not written again.
  const auto old = std::filesystem::file_time_type() + std::chrono::hours(24 * 365 * 40);
  std::filesystem::last_write_time(folder_ / "deps.d", old);
  ASSERT_EQ(Run(arguments).exitCode, 0);
  EXPECT_EQ(std::filesystem::last_write_time(folder_ / "deps.d"), old);
}

// A failed run, a path no build tool reads back and test mode leave the file as it was.
TEST_F(Depfile, FailedAndTestRunsLeaveItAlone) {
  Spill(folder_ / "deps.d", "old");
  Spill(folder_ / "n\nl", "");
  const RunResult missing = Run({"-q", "-depfile", "deps.d", "-i", "x", "-i", "missing"});
  EXPECT_EQ(missing.exitCode, kFailed);
  const RunResult newline = Run({"-q", "-depfile", "deps.d", "-o", "out", "-i", "n\nl"});
  EXPECT_EQ(newline.exitCode, kFailed);
  EXPECT_EQ(newline.output, " [ERROR] Path can't go into the dependency file: out/n\\012l.cpp\n\n");
  const RunResult test = Run({"-q", "-test", "-depfile", "deps.d", "-i", "x"});
  EXPECT_EQ(test.exitCode, 0);
  EXPECT_EQ(Slurp(folder_ / "deps.d"), "old");
}

}  // namespace
