// Conversions through -i and -last: console lines, files and exit codes, and the faults that only a whole run meets.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/run.h"
#include "support/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

// A file of that size that costs no disk.
void Sparse(const std::string& path, long long size) {
  Spill(path, "");
  std::filesystem::resize_file(path, size);
}

TEST(Conversion, LastAgainClosedPipeDevStdinAndAFailure) {
  ScratchFolder folder;
  Spill(folder / "x", "abc");
  RunResult run = RunBinary({"-i", "x", "-last", "-md5", "-last"}, {.folder = folder.path()});
  EXPECT_EQ(run.output, kBanner + Converted("x", {"x.cpp", "x.h"}) +
                            "Reading File: x\nConverting...\nNo overwrite, same data for : x.cpp\n"
                            "No overwrite, same data for : x.h\n\n" +
                            Converted("x", {"x.md5"}) + kEnding);
  // A closed output pipe never stops the run.
  run = RunBinary({"-cxx", "-i", "x", "-sha1", "-last"}, {.folder = folder.path(), .closedOutput = true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ListNames(folder.path()), (Names{"x", "x.cpp", "x.cxx", "x.h", "x.md5", "x.sha1"}));
  run = RunBinary({"-o", ".", "-md5", "-i", "/dev/stdin"}, {.folder = folder.path(), .standardInput = folder / "x"});
  EXPECT_EQ(run.output, kBanner + Converted("/dev/stdin", {"./stdin.md5"}) + kEnding);
  EXPECT_EQ(Slurp(folder / "stdin.md5"), "900150983cd24fb0d6963f7d28e17f72");
  // A failed conversion stops the run before the next option.
  run = RunBinary({"-o", "nowhere", "-i", "x", "-i", "x"}, {.folder = folder.path()});
  EXPECT_EQ(run.output, kBanner + ("Reading File: x\nConverting...\n" + Failed("Can't write file: nowhere/x.cpp")));
  EXPECT_EQ(run.exitCode, kFailed);
}

// A size constant that its type can't hold is refused before anything is written; a file larger than memory is a clear
// error, and the scan goes on.
TEST(Faults, TooLarge) {
  ScratchFolder folder;
  Sparse(folder / "big", 4294967296LL);
  for (const char* type : {"-s32", "-u32"})
    EXPECT_EQ(RunBinary({type, "-i", "big"}, {.folder = folder.path()}).output,
              kBanner + ("Reading File: big\nConverting...\n" + Failed("File too large for the size type: big")));
  Sparse(folder / "huge.bin", 1LL << 40);
  Spill(folder / "small.bin", "s");
  RunResult run = RunBinary({"-p", ".", ".bin"}, {.folder = folder.path()});
  EXPECT_NE(run.output.find("[Apply] ./huge.bin\nReading File: ./huge.bin\n"
                            " [ERROR] File too large to hold in memory: ./huge.bin\n\n[Apply] ./small.bin\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.exitCode, kFailed);
  EXPECT_EQ(ListNames(folder.path()), (Names{"big", "huge.bin", "small.bin", "small.cpp", "small.h"}));
}

TEST(Faults, FullDiskKeepsTheOldOutput) {
  ScratchFolder folder;
  constexpr long long kRoom = 65536;
  const std::string old(2 * kRoom, 'o');
  Spill(folder / "big", std::string(2 * kRoom, 'n'));
  Spill(folder / "big.cpp", old);
  RunResult run = RunBinary({"-i", "big"}, {.folder = folder.path(), .fileSizeLimit = kRoom});
  // The first error line is the output stream's own report.
  EXPECT_EQ(run.output, kBanner + ("Reading File: big\nConverting...\n"
                                   " [ERROR] path(big.cpp) outputStream.good()(0) \n\n" +
                                   Failed("Can't write file: big.cpp")));
  EXPECT_EQ(Slurp(folder / "big.cpp"), old);
  EXPECT_EQ(ListNames(folder.path()), (Names{"big", "big.cpp"}));
}

TEST(Faults, Unprivileged) {
  ScratchFolder folder;
  chmod(folder.path().c_str(), 0777);  // user nobody writes here
  Spill(folder / "in", "new");
  Spill(folder / "in.cpp", "old");
  auto run = [&] { return RunBinary({"-i", "in"}, {.folder = folder.path(), .unprivileged = true}).output; };
  // A read-only target, then one that can't be read either (it counts as absent).
  for (mode_t mode : {0444, 0}) {
    chmod((folder / "in.cpp").c_str(), mode);
    EXPECT_EQ(run(), kBanner + ("Reading File: in\nConverting...\n" + Failed("Can't write file: in.cpp")));
  }
  chmod((folder / "in.cpp").c_str(), 0644);
  EXPECT_EQ(Slurp(folder / "in.cpp"), "old");
  chmod((folder / "in").c_str(), 0);
  EXPECT_EQ(run(), kBanner + ("Reading File: in\n" + Failed("Can't open file: in")));
}

}  // namespace
