#include "codegen/data_source.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/golden.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string Emit(const Bytes& bytes, const SourceStyle& style = {}) {
  ByteBuffer buffer;
  Fill(buffer, bytes);
  std::string text;
  EmitDataSource(buffer, "sky_png", style, text);
  return text;
}

// The text after the banner block.
std::string Body(const Bytes& bytes, const SourceStyle& style = {}) {
  std::string text = Emit(bytes, style);
  EXPECT_EQ(text.substr(0, kBannerBlock.size()), kBannerBlock);
  return text.substr(kBannerBlock.size());
}

Bytes Counting(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<unsigned char>(i);
  return bytes;
}

const Bytes kSky{0x00, 0x41, 0xFF};
const std::string kArray = "namespace Data {\nextern const unsigned char sky_png[] = {\n";
const std::string kVector = "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png =";
const std::string kEnd = "\n};\n}\n";

TEST(DataSource, DefaultText) {
  EXPECT_EQ(Emit(kSky), kBannerBlock + kArray + "  0x00, 0x41, 0xFF" + kEnd);
  EXPECT_EQ(Emit(kSky).size(), 264u + 7u + 19u);
}

TEST(DataSource, EachOptionAlone) {
  const std::pair<SourceStyle, std::string> cases[] = {
      {{.useVector = true}, kVector + " {\n  0x00, 0x41, 0xFF" + kEnd},
      {{.dynamicData = true}, "namespace Data {\nunsigned char sky_png[] = {\n  0x00, 0x41, 0xFF" + kEnd},
      {{.noNamespace = true}, "extern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};"},
      {{.braceWrap = true}, "namespace Data {\nextern const unsigned char sky_png[] =\n{\n  0x00, 0x41, 0xFF" + kEnd},
      {{.braceWrapNamespace = true}, "namespace Data\n{\nextern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF" + kEnd},
      {{.nameSpace = "ui::assets"}, "namespace ui::assets {\nextern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF" + kEnd},
      {{.noNamespace = true, .nameSpace = "ui"}, "extern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};"},
      {{.hexOutput = false}, kArray + "  0, 65, 255" + kEnd},
      {{.tabSize = 0}, kArray + "0x00, 0x41, 0xFF" + kEnd},
      {{.tabSize = 4}, kArray + "    0x00, 0x41, 0xFF" + kEnd},
      {{.rowMask = 1023}, kArray + "  0x00, 0x41, 0xFF" + kEnd},
      {{.sizeType = SizeType::Int32}, kArray + "  0x00, 0x41, 0xFF" + kEnd},
      {{.tabSize = 0, .hexOutput = false, .dynamicData = true, .noNamespace = true, .useVector = true, .braceWrap = true},
       "#include <vector>\n\nstd::vector<unsigned char> sky_png =\n{\n0, 65, 255\n};"},
      {{.useVector = true, .braceWrap = true}, kVector + "\n{\n  0x00, 0x41, 0xFF" + kEnd},
      // An empty array holds one zero; an empty vector is valid C++ and keeps its empty row.
      {{}, kArray + "  0x00" + kEnd},
      {{.hexOutput = false}, kArray + "  0" + kEnd},
      {{.tabSize = 3, .useVector = true}, kVector + " {\n   " + kEnd},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(Body(i < 14 ? kSky : Bytes{}, cases[i].first), cases[i].second) << i;
}

TEST(DataSource, RowBoundaries) {
  const std::string row16 =
      "  0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F";
  EXPECT_EQ(Body(Counting(16)), kArray + row16 + kEnd);
  EXPECT_EQ(Body(Counting(17)), kArray + row16 + ", \n  0x10" + kEnd);
  EXPECT_EQ(Body(Counting(20), {.rowMask = 7}), kArray +
                                                    "  0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, \n"
                                                    "  0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, \n"
                                                    "  0x10, 0x11, 0x12, 0x13" + kEnd);
}

TEST(DataSource, DecimalRowsOfEveryByteValue) {
  std::string expected = "  ";
  for (int i = 0; i < 256; ++i)
    expected += std::to_string(i) + (i == 255 ? "" : i % 16 == 15 ? ", \n  " : ", ");
  EXPECT_EQ(Body(Counting(256), {.hexOutput = false}), kArray + expected + kEnd);
}

TEST(DataSource, DigestCommentLine) {
  const Bytes md5abc{0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0, 0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
  EXPECT_EQ(Body(md5abc, {.digestComment = true}),
            "namespace Data {\n// 900150983cd24fb0d6963f7d28e17f72\nextern const unsigned char sky_png[] = {\n"
            "  0x90, 0x01, 0x50, 0x98, 0x3C, 0xD2, 0x4F, 0xB0, 0xD6, 0x96, 0x3F, 0x7D, 0x28, 0xE1, 0x7F, 0x72" + kEnd);
}

// The announced length decides whether an existing target is compared or rewritten, so it must match the text in every
// style and at every size.
class AnnouncedLength : public testing::TestWithParam<std::tuple<int, size_t>> {};

TEST_P(AnnouncedLength, EqualsTheTextMade) {
  const auto [variant, count] = GetParam();
  const SourceStyle style{.rowMask = variant % 3 == 0 ? 7 : 1023,
                          .rowWidthChosen = variant % 7 == 0,
                          .tabSize = variant % 5,
                          .hexOutput = variant % 2 == 0,
                          .dynamicData = variant % 4 == 2,
                          .noNamespace = variant % 4 == 2,
                          .useVector = variant % 4 == 1,
                          .braceWrap = variant % 4 == 1,
                          .stringLiteral = variant % 6 < 2,
                          .digestComment = variant % 4 == 3};
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<unsigned char>(i * 37 + variant);
  ByteBuffer buffer;
  Fill(buffer, bytes);
  std::string text;
  EmitDataSource(buffer, "x", style, text);
  EXPECT_EQ(DataSourceText(buffer, "x", style).size(), text.size());
}

INSTANTIATE_TEST_SUITE_P(Styles, AnnouncedLength,
                         testing::Combine(testing::Range(0, 14), testing::Values(0, 1, 8, 9, 1024, 1025, 300000)));

TEST(DataSource, StringLiteralForms) {
  const std::string vectorOfA = " [] {\n  static const unsigned char text[] = {\n    \"a\"\n  };\n"
                                "  return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();\n}\n";
  const std::tuple<SourceStyle, Bytes, std::string> cases[] = {
      {{}, {}, kArray + "  \"\"" + kEnd},
      {{.hexOutput = false}, {0x00, 0x41, 0xFF, '0'}, kArray + "  \"\\0A\\3770\"" + kEnd},
      {{.rowMask = 1, .rowWidthChosen = true}, kSky, kArray + "  \"\\0A\"\n  \"\\377\"" + kEnd},
      {{}, Bytes(65, 'a'), kArray + "  \"" + std::string(64, 'a') + "\"\n  \"a\"" + kEnd},
      {{.dynamicData = true, .noNamespace = true, .braceWrap = true}, {'a'}, "unsigned char sky_png[] =\n{\n  \"a\"\n};"},
      {{.useVector = true}, {'a'}, kVector + vectorOfA},
      {{.tabSize = 1, .noNamespace = true, .useVector = true, .braceWrap = true}, {},
       "#include <vector>\n\nextern const std::vector<unsigned char> sky_png = []\n{\n"
       " static const unsigned char text[] =\n {\n  \"\"\n };\n"
       " return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();"},
  };
  for (auto [style, bytes, body] : cases) {
    style.stringLiteral = true;
    EXPECT_EQ(Body(bytes, style), body);
  }
}

// Past the length that C++ compilers must accept, Clang's -pedantic is silenced around the literal alone.
TEST(DataSource, LongStringLiteralIsGuarded) {
  const std::string open =
      "#ifdef __GNUC__\n#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored \"-Woverlength-strings\"\n#endif\n";
  const std::string close = "};\n#ifdef __GNUC__\n#pragma GCC diagnostic pop\n#endif\n";
  for (bool noNamespace : {false, true}) {
    for (size_t size : {kPortableStringLiteralLength, kPortableStringLiteralLength + 1}) {
      const std::string text = Emit(Counting(size), {.noNamespace = noNamespace, .stringLiteral = true});
      const bool guarded = size > kPortableStringLiteralLength;
      EXPECT_EQ(text.find(open) != std::string::npos, guarded);
      EXPECT_EQ(text.ends_with(noNamespace ? close : close + "}\n"), guarded);
    }
  }
}

}  // namespace
