// Conversions through -i and -last: what only a whole run on a real disk shows.
#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST_F(Conversion, FailureStopsTheRunBeforeTheNextOption) {
  const RunResult run = Run({"-o", "nowhere", "-i", "x", "-i", "x"});
  EXPECT_EQ(run.output, kBanner + ("Reading File: x\nConverting...\n" + Failed("Can't write file: nowhere/x.cpp")));
  EXPECT_EQ(run.exitCode, kFailed);
}

// Refused before anything is written.
TEST_F(Conversion, SizeTheSizeTypeCantHoldIsRefused) {
  Sparse("big", 4294967296LL);
  for (const char* type : {"-s32", "-u32"})
    EXPECT_EQ(Run({type, "-i", "big"}).output,
              kBanner + ("Reading File: big\nConverting...\n" + Failed("File too large for the size type: big")));
  EXPECT_EQ(ListNames(folder.path()), (Names{"big", "x"}));
}

TEST_F(Conversion, FileLargerThanMemoryIsRefused) {
  Sparse("huge", 1LL << 40);
  EXPECT_EQ(Run({"-i", "huge"}).output,
            kBanner + ("Reading File: huge\n" + Failed("File too large to hold in memory: huge")));
}

TEST_F(Conversion, FullDiskKeepsTheOldOutput) {
  constexpr long long kRoom = 65536;
  const std::string old(2 * kRoom, 'o');
  Spill(folder / "big", std::string(2 * kRoom, 'n'));
  Spill(folder / "big.cpp", old);
  // The first error line is the output stream's own report.
  EXPECT_EQ(Run({"-i", "big"}, {.fileSizeLimit = kRoom}).output,
            kBanner + ("Reading File: big\nConverting...\n [ERROR] path(big.cpp) outputStream.good()(0) \n\n" +
                       Failed("Can't write file: big.cpp")));
  EXPECT_EQ(Slurp(folder / "big.cpp"), old);
  EXPECT_EQ(ListNames(folder.path()), (Names{"big", "big.cpp", "x"}));
}

// As user nobody, in a folder that nobody may write in.
class Unprivileged : public Conversion {
 protected:
  void SetUp() override {
    Conversion::SetUp();
    chmod(folder.path().c_str(), 0777);
  }
  std::string Printed() { return Run({"-i", "x"}, {.unprivileged = true}).output; }
};

// A read-only target, and one that can't be read either (it counts as absent).
TEST_F(Unprivileged, TargetsThatRefuseAreLeftAlone) {
  Spill(folder / "x.cpp", "old");
  for (mode_t mode : {0444, 0}) {
    chmod((folder / "x.cpp").c_str(), mode);
    EXPECT_EQ(Printed(), kBanner + ("Reading File: x\nConverting...\n" + Failed("Can't write file: x.cpp")));
  }
  chmod((folder / "x.cpp").c_str(), 0644);
  EXPECT_EQ(Slurp(folder / "x.cpp"), "old");
}

TEST_F(Unprivileged, UnreadableInputIsRefused) {
  chmod((folder / "x").c_str(), 0);
  EXPECT_EQ(Printed(), kBanner + ("Reading File: x\n" + Failed("Can't open file: x")));
}

// A name can't move the cursor, recolour the terminal or break a line of the log; the file keeps its name.
TEST_F(Conversion, ControlBytesOfANameArePrintedAsOctalEscapes) {
  const std::string name = "e\x1b[2J\n\x7f.bin";
  Spill(folder / name, "abc");
  EXPECT_EQ(Run({"-md5", "-i", name}).output,
            kBanner + Converted("e\\033[2J\\012\\177.bin", {"e\\033[2J\\012\\177.bin.md5"}) + kEnding);
  EXPECT_EQ(Slurp(folder / (name + ".md5")), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
