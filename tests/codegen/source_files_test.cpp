#include "codegen/source_files.h"

#include "support/golden.h"
#include "support/settings_fixture.h"
#include "support/temp_folder.h"

namespace {

class SourceFilesTest : public SettingsTest {
 protected:
  std::string Header(size_t size = 3) {
    ByteBuffer buffer;
    FillCounting(buffer, size);
    std::string text = BuildHeaderText(buffer, "sky_png");
    EXPECT_EQ(text.substr(0, kBannerBlock.size()), kBannerBlock);
    return text.substr(kBannerBlock.size());
  }
};

TEST_F(SourceFilesTest, DefaultHeader) {
  EXPECT_EQ(Header(), "#pragma once\n\n#include <cstddef>\n\nnamespace Data {\n"
                      "extern const unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n}\n");
  EXPECT_EQ(kBannerBlock.size() + Header().size(), 311u + 19u);
}

TEST_F(SourceFilesTest, HeaderUnderEachOption) {
  g_settings.useVector = true;
  EXPECT_EQ(Header(), "#pragma once\n\n#include <cstddef>\n#include <vector>\n\nnamespace Data {\n"
                      "extern const std::vector<unsigned char> sky_png;\nconst size_t sky_png_size = 3;\n}\n");
  g_settings = Settings{};
  g_settings.dynamicData = true;
  EXPECT_EQ(Header(), "#pragma once\n\n#include <cstddef>\n\nnamespace Data {\n"
                      "extern unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n}\n");
  g_settings = Settings{};
  g_settings.noNamespace = true;
  EXPECT_EQ(Header(), "#pragma once\n\n#include <cstddef>\n\n"
                      "extern const unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n");
  g_settings = Settings{};
  g_settings.braceWrapNamespace = true;
  EXPECT_EQ(Header(), "#pragma once\n\n#include <cstddef>\n\nnamespace Data\n{\n"
                      "extern const unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n}\n");
  g_settings = Settings{};
  g_settings.sizeType = SizeType::Int32;
  EXPECT_EQ(Header(), "#pragma once\n\nnamespace Data {\n"
                      "extern const unsigned char sky_png[];\nconst int sky_png_size = 3;\n}\n");
  g_settings.sizeType = SizeType::UInt32;
  EXPECT_EQ(Header(), "#pragma once\n\nnamespace Data {\n"
                      "extern const unsigned char sky_png[];\nconst unsigned int sky_png_size = 3;\n}\n");
  // Layout options of the rows never reach the header.
  const std::string plain = Header();
  g_settings.braceWrap = true;
  g_settings.hexOutput = false;
  g_settings.tabSize = 4;
  g_settings.rowMask = 7;
  g_settings.contentSource = ContentSource::Sha1;
  EXPECT_EQ(Header(), plain);
}

TEST_F(SourceFilesTest, AllSwitchesHeader) {
  g_settings.useVector = g_settings.dynamicData = g_settings.noNamespace = g_settings.braceWrap = true;
  g_settings.hexOutput = false;
  g_settings.tabSize = 0;
  g_settings.sizeType = SizeType::UInt32;
  EXPECT_EQ(Header(), "#pragma once\n\n#include <vector>\n\n"
                      "extern std::vector<unsigned char> sky_png;\nconst unsigned int sky_png_size = 3;\n");
}

TEST_F(SourceFilesTest, SizeConstantCountsTheEmittedBytes) {
  EXPECT_NE(Header(0).find("const size_t sky_png_size = 0;\n"), std::string::npos);
  EXPECT_NE(Header(100000).find("const size_t sky_png_size = 100000;\n"), std::string::npos);
}

TEST_F(SourceFilesTest, CxxHoldsTheBytesOfTheCpp) {
  ScratchFolder folder;
  const std::string input = folder / "sky.png";
  ByteBuffer buffer;
  Fill(buffer, {0x00, 0x41, 0xFF});
  g_settings.contentSource = ContentSource::Sha512;
  EXPECT_TRUE(WriteSourceFile(input.c_str(), buffer, "sky_png", false));
  EXPECT_TRUE(WriteHeaderFile(input.c_str(), buffer, "sky_png"));
  g_settings.outputFormat = OutputFormat::Cxx;
  EXPECT_TRUE(WriteSourceFile(input.c_str(), buffer, "sky_png", true));
  EXPECT_EQ(Slurp(input + ".cxx"), Slurp(input + ".cpp"));
  EXPECT_NE(Slurp(input + ".cpp").find("\n// 0041ff\n"), std::string::npos);
  EXPECT_EQ(Slurp(input + ".h"), BuildHeaderText(buffer, "sky_png"));
}

}  // namespace
