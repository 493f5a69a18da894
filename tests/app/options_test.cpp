#include "app/options.h"

#include <cstring>

#include "support/settings_fixture.h"

namespace {

using OptionsTest = SettingsTest;

// Selects the row named like the current argument and runs it, as the
// driver does.
void RunCurrentOption() {
  const OptionEntry* row = FindOption(g_settings.argValues[g_settings.argIndex]);
  ASSERT_NE(row, nullptr) << g_settings.argValues[g_settings.argIndex];
  row->handler();
}

TEST_F(OptionsTest, DefaultsAreTheDocumentedOnes) {
  Settings s;
  EXPECT_EQ(s.rowMask, 15);
  EXPECT_EQ(s.tabSize, 2);
  EXPECT_TRUE(s.hexOutput);
  EXPECT_EQ(s.sizeType, SizeType::SizeT);
  EXPECT_EQ(s.outputFormat, OutputFormat::Cpp);
  EXPECT_EQ(s.contentSource, ContentSource::Cpp);
  EXPECT_FALSE(s.testMode || s.dynamicData || s.noNamespace || s.useVector || s.braceWrap ||
               s.braceWrapNamespace);
  EXPECT_EQ(s.outputFolder, nullptr);
  EXPECT_EQ(s.scanTag, nullptr);
}

TEST_F(OptionsTest, TableShape) {
  int separators = 0, listed = 0, selectable = 0;
  for (const OptionEntry& row : OptionTable) {
    separators += !row.name && !row.help && !row.handler;
    listed += row.name && row.help;
    selectable += row.name && row.handler;
  }
  EXPECT_EQ(separators, 6);
  EXPECT_EQ(listed, 25);
  EXPECT_EQ(selectable, 41);
  EXPECT_STREQ(OptionTable[36].name, "-8");
  EXPECT_EQ(OptionTable[36].handler, nullptr);
  EXPECT_EQ(FindOption("-8"), &OptionTable[37]);
}

TEST_F(OptionsTest, LookupIsExactAndSkipsHelpOnlyRows) {
  EXPECT_EQ(FindOption("-I"), nullptr);
  EXPECT_EQ(FindOption("-MD5"), nullptr);
  EXPECT_EQ(FindOption("-i "), nullptr);
  EXPECT_EQ(FindOption("-"), nullptr);
  EXPECT_EQ(FindOption(""), nullptr);
  EXPECT_EQ(FindOption("-md5, -sha1, -sha256, -sha512"), nullptr);
  EXPECT_EQ(FindOption("-t5"), nullptr);
  EXPECT_EQ(FindOption("-2048"), nullptr);
  ASSERT_NE(FindOption("-md5"), nullptr);
}

TEST_F(OptionsTest, FormatOptionsSetBothFieldsAsAPair) {
  struct Case {
    const char* name;
    OutputFormat format;
    ContentSource source;
  } cases[] = {
      {"-cpp", OutputFormat::Cpp, ContentSource::Cpp},          {"-cxx", OutputFormat::Cxx, ContentSource::Cxx},
      {"-md5", OutputFormat::Md5, ContentSource::Md5},          {"-sha1", OutputFormat::Sha1, ContentSource::Sha1},
      {"-sha256", OutputFormat::Sha256, ContentSource::Sha256}, {"-sha512", OutputFormat::Sha512, ContentSource::Sha512},
      {"-cpp_md5", OutputFormat::Cpp, ContentSource::Md5},      {"-cpp_sha1", OutputFormat::Cpp, ContentSource::Sha1},
      {"-cpp_sha256", OutputFormat::Cpp, ContentSource::Sha256},
      {"-cpp_sha512", OutputFormat::Cpp, ContentSource::Sha512},
      {"-cxx_md5", OutputFormat::Cxx, ContentSource::Md5},      {"-cxx_sha1", OutputFormat::Cxx, ContentSource::Sha1},
      {"-cxx_sha256", OutputFormat::Cxx, ContentSource::Sha256},
      {"-cxx_sha512", OutputFormat::Cxx, ContentSource::Sha512},
  };
  for (const Case& c : cases) {
    SetArguments({"-md5", c.name});
    RunCurrentOption();
    RunCurrentOption();
    EXPECT_EQ(g_settings.outputFormat, c.format) << c.name;
    EXPECT_EQ(g_settings.contentSource, c.source) << c.name;
    EXPECT_EQ(g_settings.argIndex, 3);
  }
}

TEST_F(OptionsTest, SwitchesRowWidthsTabsAndSizeTypes) {
  SetArguments({"-stl", "-dyn", "-nons", "-dec", "-bw", "-bwns", "-s32", "-1024", "-t4"});
  while (g_settings.argIndex < g_settings.argCount)
    RunCurrentOption();
  EXPECT_TRUE(g_settings.useVector);
  EXPECT_TRUE(g_settings.dynamicData);
  EXPECT_TRUE(g_settings.noNamespace);
  EXPECT_FALSE(g_settings.hexOutput);
  EXPECT_TRUE(g_settings.braceWrap);
  EXPECT_TRUE(g_settings.braceWrapNamespace);
  EXPECT_EQ(g_settings.sizeType, SizeType::Int32);
  EXPECT_EQ(g_settings.rowMask, 1023);
  EXPECT_EQ(g_settings.tabSize, 4);

  const std::pair<const char*, int> widths[] = {{"-8", 7},     {"-16", 15},   {"-32", 31},   {"-64", 63},
                                                {"-128", 127}, {"-256", 255}, {"-512", 511}, {"-1024", 1023}};
  for (auto [name, mask] : widths) {
    SetArguments({name});
    RunCurrentOption();
    EXPECT_EQ(g_settings.rowMask, mask) << name;
  }
  for (int tab = 0; tab <= 4; ++tab) {
    std::string name = "-t" + std::to_string(tab);
    SetArguments({name.c_str()});
    RunCurrentOption();
    EXPECT_EQ(g_settings.tabSize, tab);
  }
  SetArguments({"-u32"});
  RunCurrentOption();
  EXPECT_EQ(g_settings.sizeType, SizeType::UInt32);
  SetArguments({"-size_t"});
  RunCurrentOption();
  EXPECT_EQ(g_settings.sizeType, SizeType::SizeT);
}

TEST_F(OptionsTest, OutputFolderPointsAtTheArgument) {
  SetArguments({"-o", "out dir", "-o"});
  RunCurrentOption();
  EXPECT_STREQ(g_settings.outputFolder, "out dir");
  EXPECT_EQ(g_settings.outputFolder, g_settings.argValues[2]);
  EXPECT_EQ(g_settings.argIndex, 3);
  EXPECT_EQ(g_settings.exitCode, 0);

  RunCurrentOption();
  EXPECT_EQ(g_settings.exitCode, -1);
  EXPECT_STREQ(g_settings.outputFolder, "out dir");
}

TEST_F(OptionsTest, TestModeStaysOn) {
  SetArguments({"-test", "-test"});
  RunCurrentOption();
  RunCurrentOption();
  EXPECT_TRUE(g_settings.testMode);
  EXPECT_EQ(g_settings.argIndex, 3);
}

TEST_F(OptionsTest, MissingValuesOfInputOptions) {
  SetArguments({"-last"});
  RunCurrentOption();
  EXPECT_EQ(g_settings.argIndex, 1);
  EXPECT_EQ(g_settings.exitCode, -1);

  SetArguments({"-p", "folder"});
  g_settings.exitCode = 0;
  RunCurrentOption();
  EXPECT_EQ(g_settings.exitCode, -1);
  EXPECT_EQ(g_settings.scanTag, nullptr);
}

}  // namespace
