// Conversions through -i and -last: what only a whole run on a real disk shows.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

// A folder holding x ("abc"), where each test runs hexloom.
class Conversion : public testing::Test {
 protected:
  void SetUp() override { Spill(folder / "x", "abc"); }
  RunResult Run(const Names& arguments, RunOptions options = {}) {
    options.folder = folder.path();
    return RunBinary(arguments, options);
  }
  // A file of that size that costs no disk.
  void Sparse(const std::string& name, long long size) {
    Spill(folder / name, "");
    std::filesystem::resize_file(folder / name, size);
  }
  ScratchFolder folder;
};

TEST_F(Conversion, LastConvertsTheLastInputAgain) {
  EXPECT_EQ(Run({"-i", "x", "-md5", "-last"}).output,
            kBanner + Converted("x", {"x.cpp", "x.h"}) + Converted("x", {"x.md5"}) + kEnding);
}

TEST_F(Conversion, ClosedOutputPipeDoesNotStopTheRun) {
  EXPECT_EQ(Run({"-cxx", "-i", "x", "-sha1", "-last"}, {.closedOutput = true}).exitCode, 0);
  EXPECT_EQ(ListNames(folder.path()), (Names{"x", "x.cxx", "x.sha1"}));
}

// Refused before anything is written.
TEST_F(Conversion, SizeTheSizeTypeCantHoldIsRefused) {
  Sparse("big", 4294967296LL);
  EXPECT_EQ(Run({"-u32", "-i", "big"}).output,
            kBanner + ("Reading File: big\nConverting...\n" + Failed("File too large for the size type: big")));
  EXPECT_EQ(ListNames(folder.path()), (Names{"big", "x"}));
}

TEST_F(Conversion, FileLargerThanMemoryIsRefused) {
  Sparse("huge", 1LL << 40);
  EXPECT_EQ(Run({"-i", "huge"}).output,
            kBanner + ("Reading File: huge\n" + Failed("File too large to hold in memory: huge")));
}

}  // namespace
