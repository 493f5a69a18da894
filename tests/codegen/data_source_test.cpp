#include "codegen/data_source.h"

#include "support/golden.h"
#include "support/settings_fixture.h"

namespace {

class DataSourceTest : public SettingsTest {
 protected:
  std::string Emit(const std::vector<unsigned char>& bytes, const std::string& identifier = "sky_png") {
    ByteBuffer buffer;
    Fill(buffer, bytes);
    std::string text;
    EmitDataSource(buffer, identifier, text);
    return text;
  }
  // The text after the banner block.
  std::string Body(const std::vector<unsigned char>& bytes) {
    std::string text = Emit(bytes);
    EXPECT_EQ(text.substr(0, kBannerBlock.size()), kBannerBlock);
    return text.substr(kBannerBlock.size());
  }
  const std::vector<unsigned char> sky{0x00, 0x41, 0xFF};
};

TEST_F(DataSourceTest, DefaultText) {
  EXPECT_EQ(Emit(sky), kBannerBlock +
                           "namespace Data {\n"
                           "extern const unsigned char sky_png[] = {\n"
                           "  0x00, 0x41, 0xFF\n"
                           "};\n"
                           "}\n");
  EXPECT_EQ(Emit(sky).size(), 264u + 7u + 19u);
}

TEST_F(DataSourceTest, EachOptionAlone) {
  g_settings.useVector = true;
  EXPECT_EQ(Body(sky), "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png = {\n"
                       "  0x00, 0x41, 0xFF\n};\n}\n");
  g_settings = Settings{};
  g_settings.dynamicData = true;
  EXPECT_EQ(Body(sky), "namespace Data {\nunsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};\n}\n");
  g_settings = Settings{};
  g_settings.noNamespace = true;
  EXPECT_EQ(Body(sky), "extern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};");
  g_settings = Settings{};
  g_settings.braceWrap = true;
  EXPECT_EQ(Body(sky), "namespace Data {\nextern const unsigned char sky_png[] =\n{\n  0x00, 0x41, 0xFF\n};\n}\n");
  g_settings = Settings{};
  g_settings.braceWrapNamespace = true;
  EXPECT_EQ(Body(sky), "namespace Data\n{\nextern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};\n}\n");
  g_settings = Settings{};
  g_settings.hexOutput = false;
  EXPECT_EQ(Body(sky), "namespace Data {\nextern const unsigned char sky_png[] = {\n  0, 65, 255\n};\n}\n");
  g_settings = Settings{};
  g_settings.tabSize = 0;
  EXPECT_EQ(Body(sky), "namespace Data {\nextern const unsigned char sky_png[] = {\n0x00, 0x41, 0xFF\n};\n}\n");
  g_settings.tabSize = 4;
  EXPECT_EQ(Body(sky), "namespace Data {\nextern const unsigned char sky_png[] = {\n    0x00, 0x41, 0xFF\n};\n}\n");
  g_settings = Settings{};
  for (int mask : {7, 31, 1023}) {
    g_settings.rowMask = mask;
    EXPECT_EQ(Body(sky), "namespace Data {\nextern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};\n}\n");
  }
}

TEST_F(DataSourceTest, AllSwitchesTogether) {
  g_settings.useVector = g_settings.dynamicData = g_settings.noNamespace = g_settings.braceWrap = true;
  g_settings.hexOutput = false;
  g_settings.tabSize = 0;
  g_settings.sizeType = SizeType::UInt32;
  EXPECT_EQ(Body(sky), "#include <vector>\n\nstd::vector<unsigned char> sky_png =\n{\n0, 65, 255\n};");
}

TEST_F(DataSourceTest, VectorWithBraceWrapAndDynamic) {
  g_settings.useVector = g_settings.braceWrap = true;
  EXPECT_NE(Body(sky).find("extern const std::vector<unsigned char> sky_png =\n{\n  0x00"), std::string::npos);
  g_settings.braceWrap = false;
  g_settings.dynamicData = true;
  EXPECT_NE(Body(sky).find("\nstd::vector<unsigned char> sky_png = {\n"), std::string::npos);
}

TEST_F(DataSourceTest, EmptyBufferKeepsTheIndentLine) {
  EXPECT_EQ(Body({}), "namespace Data {\nextern const unsigned char sky_png[] = {\n  \n};\n}\n");
  g_settings.tabSize = 0;
  EXPECT_EQ(Body({}), "namespace Data {\nextern const unsigned char sky_png[] = {\n\n};\n}\n");
}

TEST_F(DataSourceTest, RowBoundaries) {
  std::vector<unsigned char> bytes(17);
  for (int i = 0; i < 17; ++i)
    bytes[i] = static_cast<unsigned char>(i);
  const std::string head = "namespace Data {\nextern const unsigned char sky_png[] = {\n";
  const std::string row16 =
      "  0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F";
  EXPECT_EQ(Body(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 16)), head + row16 + "\n};\n}\n");
  EXPECT_EQ(Body(bytes), head + row16 + ", \n  0x10\n};\n}\n");

  std::vector<unsigned char> twenty(20);
  for (int i = 0; i < 20; ++i)
    twenty[i] = static_cast<unsigned char>(i);
  g_settings.rowMask = 7;
  EXPECT_EQ(Body(twenty), head +
                              "  0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, \n"
                              "  0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, \n"
                              "  0x10, 0x11, 0x12, 0x13\n"
                              "};\n}\n");
}

TEST_F(DataSourceTest, DecimalRowsOfEveryByteValue) {
  std::vector<unsigned char> bytes(256);
  std::string expected = "  ";
  for (int i = 0; i < 256; ++i) {
    bytes[i] = static_cast<unsigned char>(i);
    expected += std::to_string(i);
    if (i != 255)
      expected += (i % 16 == 15) ? ", \n  " : ", ";
  }
  g_settings.hexOutput = false;
  EXPECT_EQ(Body(bytes), "namespace Data {\nextern const unsigned char sky_png[] = {\n" + expected + "\n};\n}\n");
}

TEST_F(DataSourceTest, DigestCommentLine) {
  g_settings.contentSource = ContentSource::Md5;
  const std::vector<unsigned char> md5abc{0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                                          0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
  EXPECT_EQ(Body(md5abc),
            "namespace Data {\n"
            "// 900150983cd24fb0d6963f7d28e17f72\n"
            "extern const unsigned char sky_png[] = {\n"
            "  0x90, 0x01, 0x50, 0x98, 0x3C, 0xD2, 0x4F, 0xB0, 0xD6, 0x96, 0x3F, 0x7D, 0x28, 0xE1, 0x7F, 0x72\n"
            "};\n}\n");
  g_settings.outputFormat = OutputFormat::Md5;
  g_settings.contentSource = ContentSource::Md5;
  EXPECT_EQ(Body(md5abc).find("//"), std::string::npos);
}

TEST_F(DataSourceTest, StringLiteralForms) {
  const struct {
    void (*style)();
    std::vector<unsigned char> bytes;
    const char* body;
  } cases[] = {
      {[] {}, {}, "namespace Data {\nextern const unsigned char sky_png[] = {\n  \"\"\n};\n}\n"},
      {[] { g_settings.hexOutput = false; }, {0x00, 0x41, 0xFF, '0'},
       "namespace Data {\nextern const unsigned char sky_png[] = {\n  \"\\0A\\3770\"\n};\n}\n"},
      {[] { g_settings.rowMask = 1, g_settings.rowWidthChosen = true; }, {0x00, 0x41, 0xFF},
       "namespace Data {\nextern const unsigned char sky_png[] = {\n  \"\\0A\"\n  \"\\377\"\n};\n}\n"},
      {[] {}, std::vector<unsigned char>(65, 'a'),
       "namespace Data {\nextern const unsigned char sky_png[] = {\n"
       "  \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\"\n  \"a\"\n};\n}\n"},
      {[] { g_settings.noNamespace = g_settings.dynamicData = g_settings.braceWrap = true; }, {'a'},
       "unsigned char sky_png[] =\n{\n  \"a\"\n};"},
      {[] { g_settings.useVector = true; }, {'a'},
       "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png = [] {\n"
       "  static const unsigned char text[] = {\n    \"a\"\n  };\n"
       "  return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();\n}\n"},
      {[] { g_settings.useVector = g_settings.braceWrap = g_settings.noNamespace = true, g_settings.tabSize = 1; }, {},
       "#include <vector>\n\nextern const std::vector<unsigned char> sky_png = []\n{\n"
       " static const unsigned char text[] =\n {\n  \"\"\n };\n"
       " return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();"},
  };
  for (const auto& c : cases) {
    g_settings = Settings{};
    g_settings.stringLiteral = true;
    c.style();
    EXPECT_EQ(Body(c.bytes), c.body);
  }
}

// Past the length that C++ compilers must accept, Clang's -pedantic is
// silenced around the literal alone.
TEST_F(DataSourceTest, LongStringLiteralIsGuardedAndMadeInPieces) {
  g_settings.stringLiteral = true;
  const std::string open =
      "#ifdef __GNUC__\n#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored \"-Woverlength-strings\"\n#endif\n";
  const std::string close = "};\n#ifdef __GNUC__\n#pragma GCC diagnostic pop\n#endif\n";
  for (bool noNamespace : {false, true}) {
    g_settings.noNamespace = noNamespace;
    for (size_t size : {kPortableStringLiteralLength, kPortableStringLiteralLength + 1}) {
      ByteBuffer buffer;
      FillCounting(buffer, size);
      std::string text;
      EmitDataSource(buffer, "big", text);
      EXPECT_EQ(text.size(), DataSourceText(buffer, "big").size());
      const bool guarded = size > kPortableStringLiteralLength;
      EXPECT_EQ(text.find(open) != std::string::npos, guarded);
      const std::string end = noNamespace ? close : close + "}\n";
      EXPECT_EQ(text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0, guarded);
    }
  }
}

}  // namespace
