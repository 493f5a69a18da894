// Conversions through -i and -last: what only a whole run on a real disk shows.
#include "support/run.h"
#include "support/temp_folder.h"
#include "support/whole_run.h"

namespace {

// A reader of the output that has gone stops nothing; -last converts the last input again with the settings in force.
TEST(Conversion, ClosedOutputPipeDoesNotStopTheRun) {
  ScratchFolder folder;
  Spill(folder / "x", "abc");
  EXPECT_EQ(RunBinary({"-cxx", "-i", "x", "-sha1", "-last"}, {.folder = folder.path(), .closedOutput = true}).exitCode,
            0);
  EXPECT_EQ(ListNames(folder.path()), (std::vector<std::string>{"x", "x.cxx", "x.sha1"}));
}

// Sparse files, which cost no disk; refused before any output is written.
INSTANTIATE_TEST_SUITE_P(Refusals, WholeRun,
                         testing::Values(RunCase{"SizeTheSizeTypeCantHoldIsRefused",
                                                 "truncate -s 4G big",
                                                 {"-u32", "-i", "d/big"},
                                                 kBanner + ("Reading File: d/big\nConverting...\n" +
                                                            Failed("File too large for the size type: d/big")),
                                                 kFailed},
                                         RunCase{"FileLargerThanMemoryIsRefused",
                                                 "truncate -s 1T huge",
                                                 {"-i", "d/huge"},
                                                 kBanner + ("Reading File: d/huge\n" +
                                                            Failed("File too large to hold in memory: d/huge")),
                                                 kFailed}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
