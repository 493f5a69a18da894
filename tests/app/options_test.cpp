// What each option handler does to the settings, run as the driver runs it.
#include "app/options.h"

#include <gtest/gtest.h>

#include "app/driver.h"
#include "app/settings.h"
#include "support/capture.h"

namespace {

// Fresh settings for each test. RunAll makes the arguments (after a program name) the command line and runs each
// through the row that the driver would select.
class OptionsTest : public testing::Test {
 protected:
  void SetUp() override { g_settings = Settings{}; }
  void TearDown() override { g_settings = Settings{}; }
  void RunAll(std::initializer_list<const char*> arguments) {
    // The handlers never write to an argument: these are string literals.
    pointers_.assign(1, const_cast<char*>("hexloom"));
    for (const char* argument : arguments)
      pointers_.push_back(const_cast<char*>(argument));
    g_settings.argValues = pointers_.data();
    g_settings.argCount = static_cast<int32_t>(pointers_.size());
    for (g_settings.argIndex = 1; g_settings.argIndex < g_settings.argCount && g_settings.exitCode == 0;) {
      const OptionEntry* row = FindOption(g_settings.argValues[g_settings.argIndex]);
      ASSERT_NE(row, nullptr) << g_settings.argValues[g_settings.argIndex];
      row->handler();
    }
  }
  std::vector<char*> pointers_;
};

TEST_F(OptionsTest, SwitchesTurnOneWayAndNumbersAreReadBack) {
  CaptureConsole([&] { RunAll({"-test"}); });
  RunAll({"-stl", "-dyn", "-nons", "-dec", "-bw", "-bwns", "-str", "-s32", "-1024", "-t4", "-dec", "-dec"});
  EXPECT_EQ(g_settings.argIndex, 13);
  // What a conversion started now would see.
  const ConversionSettings now = CurrentConversionSettings();
  EXPECT_TRUE(now.style.useVector && now.style.dynamicData && now.style.noNamespace && now.style.braceWrap &&
              now.style.braceWrapNamespace && now.style.stringLiteral && now.style.rowWidthChosen && now.testMode);
  EXPECT_FALSE(now.style.hexOutput);
  EXPECT_EQ(std::tuple(now.style.sizeType, now.style.rowMask, now.style.tabSize), std::tuple(SizeType::Int32, 1023, 4));
  RunAll({"-8", "-t0", "-u32"});  // row 37, not the listed-only row 36
  EXPECT_EQ(std::tuple(g_settings.sizeType, g_settings.rowMask, g_settings.tabSize),
            std::tuple(SizeType::UInt32, 7, 0));
  RunAll({"-512", "-t3", "-size_t"});
  EXPECT_EQ(std::tuple(g_settings.sizeType, g_settings.rowMask, g_settings.tabSize),
            std::tuple(SizeType::SizeT, 511, 3));
}

TEST_F(OptionsTest, NamespaceIsCheckedAndKept) {
  RunAll({"-ns", "ui::assets"});
  EXPECT_EQ(CurrentConversionSettings().style.nameSpace, "ui::assets");
  RunAll({"-ns", "Data2", "-nons"});
  EXPECT_EQ(CurrentConversionSettings().style.nameSpace, "Data2");
  EXPECT_TRUE(CurrentConversionSettings().style.noNamespace);
  EXPECT_EQ(g_settings.exitCode, 0);
  const std::string invalid = "Invalid namespace (C++ identifiers joined by ::, no keyword): -ns ";
  const std::pair<const char*, std::string> refused[] = {{nullptr, "Namespace is missing: -ns name\n\n"},
                                                         {"", "Namespace is missing: -ns name\n\n"},
                                                         {"a::9b", invalid + "a::9b\n\n"},
                                                         {"ui::class", invalid + "ui::class\n\n"}};
  for (const auto& [value, message] : refused) {
    g_settings.exitCode = 0;
    EXPECT_EQ(CaptureConsole([&, value = value] { value ? RunAll({"-ns", value}) : RunAll({"-ns"}); }), message);
    EXPECT_EQ(g_settings.exitCode, -1);
    EXPECT_EQ(g_settings.nameSpace, "Data2");
  }
}

TEST_F(OptionsTest, QuietKeepsOnlyErrors) {
  const std::string printed = CaptureConsole([&] { RunAll({"-q", "-i", "no such file"}), PrintUsage(); });
  ConsoleLog::Instance().SetQuiet(false);
  EXPECT_TRUE(g_settings.quiet);
  EXPECT_EQ(printed, " [ERROR] Can't open file: no such file\n\n");
}

TEST_F(OptionsTest, OutputFolderPointsAtTheArgumentNeverReadAsAnOption) {
  RunAll({"-o", "out dir", "-o", "-i"});
  EXPECT_EQ(g_settings.outputFolder, g_settings.argValues[4]);
  EXPECT_EQ(CurrentConversionSettings().outputFolder, "-i");
  EXPECT_EQ(g_settings.exitCode, 0);
}

TEST(ScanThreads, FromTheEnvironmentValue) {
  const size_t processors = ScanThreadsFrom(nullptr);
  EXPECT_GE(processors, 1u);
  const std::pair<const char*, size_t> cases[] = {{"1", 1},          {"3", 3},         {"256", 256},      {"257", 256},
                                                  {"0", processors}, {"", processors}, {"2x", processors}};
  for (const auto& [value, threads] : cases)
    EXPECT_EQ(ScanThreadsFrom(value), threads) << value;
}

TEST_F(OptionsTest, ScanTagIsALowercasedCopy) {
  std::string printed = CaptureConsole([&] { RunAll({"-test", "-p", "no such folder", ".PnG"}); });
  EXPECT_EQ(g_settings.scanTag, ".png");
  EXPECT_STREQ(g_settings.argValues[4], ".PnG");
  EXPECT_EQ(g_settings.exitCode, -1);
  g_settings.exitCode = 0;
  CaptureConsole([&] { RunAll({"-i", "no such file"}); });
  EXPECT_FALSE(g_settings.scanTag);
  EXPECT_STREQ(g_settings.lastInputPath, "no such file");
}

}  // namespace
