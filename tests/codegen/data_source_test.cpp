#include "codegen/data_source.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/golden.h"

namespace {

std::string Emit(const std::vector<unsigned char>& bytes, const SourceStyle& style = {}) {
  ByteBuffer buffer;
  Fill(buffer, bytes);
  std::string text;
  EmitDataSource(buffer, "sky_png", style, text);
  return text;
}

// The text after the banner block.
std::string Body(const std::vector<unsigned char>& bytes, const SourceStyle& style = {}) {
  std::string text = Emit(bytes, style);
  EXPECT_EQ(text.substr(0, kBannerBlock.size()), kBannerBlock);
  return text.substr(kBannerBlock.size());
}

const std::vector<unsigned char> kSky{0x00, 0x41, 0xFF};
const std::string kDefaultBody = "namespace Data {\nextern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};\n}\n";

TEST(DataSource, DefaultText) {
  EXPECT_EQ(Emit(kSky), kBannerBlock + kDefaultBody);
  EXPECT_EQ(Emit(kSky).size(), 264u + 7u + 19u);
}

SourceStyle With(void (*change)(SourceStyle&)) {
  SourceStyle style;
  change(style);
  return style;
}

TEST(DataSource, EachOptionAlone) {
  const std::pair<SourceStyle, std::string> cases[] = {
      {With([](SourceStyle& s) { s.useVector = true; }),
       "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png = {\n  0x00, 0x41, 0xFF\n};\n}\n"},
      {With([](SourceStyle& s) { s.dynamicData = true; }),
       "namespace Data {\nunsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};\n}\n"},
      {With([](SourceStyle& s) { s.noNamespace = true; }),
       "extern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};"},
      {With([](SourceStyle& s) { s.braceWrap = true; }),
       "namespace Data {\nextern const unsigned char sky_png[] =\n{\n  0x00, 0x41, 0xFF\n};\n}\n"},
      {With([](SourceStyle& s) { s.braceWrapNamespace = true; }),
       "namespace Data\n{\nextern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};\n}\n"},
      {With([](SourceStyle& s) { s.nameSpace = "ui::assets"; }),
       "namespace ui::assets {\nextern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};\n}\n"},
      {With([](SourceStyle& s) { s.nameSpace = "ui"; s.noNamespace = true; }),
       "extern const unsigned char sky_png[] = {\n  0x00, 0x41, 0xFF\n};"},
      {With([](SourceStyle& s) { s.hexOutput = false; }),
       "namespace Data {\nextern const unsigned char sky_png[] = {\n  0, 65, 255\n};\n}\n"},
      {With([](SourceStyle& s) { s.tabSize = 0; }),
       "namespace Data {\nextern const unsigned char sky_png[] = {\n0x00, 0x41, 0xFF\n};\n}\n"},
      {With([](SourceStyle& s) { s.tabSize = 4; }),
       "namespace Data {\nextern const unsigned char sky_png[] = {\n    0x00, 0x41, 0xFF\n};\n}\n"},
      {With([](SourceStyle& s) { s.rowMask = 1023; }), kDefaultBody},
      {With([](SourceStyle& s) { s.sizeType = SizeType::Int32; }), kDefaultBody},
      {With([](SourceStyle& s) {
         s.useVector = s.dynamicData = s.noNamespace = s.braceWrap = true;
         s.hexOutput = false;
         s.tabSize = 0;
       }),
       "#include <vector>\n\nstd::vector<unsigned char> sky_png =\n{\n0, 65, 255\n};"},
      {With([](SourceStyle& s) { s.useVector = s.braceWrap = true; }),
       "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png =\n{\n  0x00, 0x41, 0xFF\n};\n}\n"},
  };
  for (const auto& [style, body] : cases)
    EXPECT_EQ(Body(kSky, style), body);
}

TEST(DataSource, EmptyArrayHoldsOneZero) {
  EXPECT_EQ(Body({}), "namespace Data {\nextern const unsigned char sky_png[] = {\n  0x00\n};\n}\n");
  EXPECT_EQ(Body({}, With([](SourceStyle& s) { s.hexOutput = false; })),
            "namespace Data {\nextern const unsigned char sky_png[] = {\n  0\n};\n}\n");
  // An empty vector is valid C++ and keeps its indented empty row.
  EXPECT_EQ(Body({}, With([](SourceStyle& s) { s.useVector = true; s.tabSize = 3; })),
            "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png = {\n   \n};\n}\n");
}

std::vector<unsigned char> Counting(size_t count) {
  std::vector<unsigned char> bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<unsigned char>(i);
  return bytes;
}

TEST(DataSource, RowBoundaries) {
  const std::string head = "namespace Data {\nextern const unsigned char sky_png[] = {\n";
  const std::string row16 =
      "  0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F";
  EXPECT_EQ(Body(Counting(16)), head + row16 + "\n};\n}\n");
  EXPECT_EQ(Body(Counting(17)), head + row16 + ", \n  0x10\n};\n}\n");
  EXPECT_EQ(Body(Counting(20), With([](SourceStyle& s) { s.rowMask = 7; })),
            head +
                "  0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, \n"
                "  0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, \n"
                "  0x10, 0x11, 0x12, 0x13\n"
                "};\n}\n");
}

TEST(DataSource, DecimalRowsOfEveryByteValue) {
  std::string expected = "  ";
  for (int i = 0; i < 256; ++i) {
    expected += std::to_string(i);
    if (i != 255)
      expected += (i % 16 == 15) ? ", \n  " : ", ";
  }
  EXPECT_EQ(Body(Counting(256), With([](SourceStyle& s) { s.hexOutput = false; })),
            "namespace Data {\nextern const unsigned char sky_png[] = {\n" + expected + "\n};\n}\n");
}

TEST(DataSource, DigestCommentLine) {
  const std::vector<unsigned char> md5abc{0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                                          0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
  EXPECT_EQ(Body(md5abc, With([](SourceStyle& s) { s.digestComment = true; })),
            "namespace Data {\n"
            "// 900150983cd24fb0d6963f7d28e17f72\n"
            "extern const unsigned char sky_png[] = {\n"
            "  0x90, 0x01, 0x50, 0x98, 0x3C, 0xD2, 0x4F, 0xB0, 0xD6, 0x96, 0x3F, 0x7D, 0x28, 0xE1, 0x7F, 0x72\n"
            "};\n}\n");
}

// The announced length decides whether an existing target is compared or
// rewritten, so it must match the text in every style and at every size.
class AnnouncedLength : public testing::TestWithParam<std::tuple<int, size_t>> {};

TEST_P(AnnouncedLength, EqualsTheTextMade) {
  const auto [variant, count] = GetParam();
  SourceStyle style;
  style.hexOutput = variant % 2 == 0;
  style.rowMask = variant % 3 == 0 ? 7 : 1023;
  style.tabSize = variant % 5;
  style.useVector = style.braceWrap = variant % 4 == 1;
  style.noNamespace = style.dynamicData = variant % 4 == 2;
  style.digestComment = variant % 4 == 3;
  style.stringLiteral = variant % 6 < 2;
  style.rowWidthChosen = variant % 7 == 0;
  std::vector<unsigned char> bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<unsigned char>(i * 37 + variant);
  ByteBuffer buffer;
  Fill(buffer, bytes);
  std::string text;
  EmitDataSource(buffer, "x", style, text);
  EXPECT_EQ(DataSourceText(buffer, "x", style).size(), text.size());
}

INSTANTIATE_TEST_SUITE_P(Styles, AnnouncedLength,
                         testing::Combine(testing::Range(0, 14),
                                          testing::Values(size_t{0}, size_t{1}, size_t{8}, size_t{9}, size_t{1024},
                                                          size_t{1025}, size_t{300000})));

TEST(DataSource, StringLiteralForms) {
  const struct {
    void (*change)(SourceStyle&);
    std::vector<unsigned char> bytes;
    const char* body;
  } cases[] = {
      {[](SourceStyle&) {}, {}, "namespace Data {\nextern const unsigned char sky_png[] = {\n  \"\"\n};\n}\n"},
      {[](SourceStyle& s) { s.hexOutput = false; }, {0x00, 0x41, 0xFF, '0'},
       "namespace Data {\nextern const unsigned char sky_png[] = {\n  \"\\0A\\3770\"\n};\n}\n"},
      {[](SourceStyle& s) { s.rowMask = 1, s.rowWidthChosen = true; }, {0x00, 0x41, 0xFF},
       "namespace Data {\nextern const unsigned char sky_png[] = {\n  \"\\0A\"\n  \"\\377\"\n};\n}\n"},
      {[](SourceStyle&) {}, std::vector<unsigned char>(65, 'a'),
       "namespace Data {\nextern const unsigned char sky_png[] = {\n"
       "  \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\"\n  \"a\"\n};\n}\n"},
      {[](SourceStyle& s) { s.noNamespace = s.dynamicData = s.braceWrap = true; }, {'a'},
       "unsigned char sky_png[] =\n{\n  \"a\"\n};"},
      {[](SourceStyle& s) { s.useVector = true; }, {'a'},
       "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png = [] {\n"
       "  static const unsigned char text[] = {\n    \"a\"\n  };\n"
       "  return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();\n}\n"},
      {[](SourceStyle& s) { s.useVector = s.braceWrap = s.noNamespace = true, s.tabSize = 1; }, {},
       "#include <vector>\n\nextern const std::vector<unsigned char> sky_png = []\n{\n"
       " static const unsigned char text[] =\n {\n  \"\"\n };\n"
       " return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();"},
  };
  for (const auto& c : cases) {
    SourceStyle style;
    style.stringLiteral = true;
    c.change(style);
    EXPECT_EQ(Body(c.bytes, style), c.body);
  }
}

// Past the length that C++ compilers must accept, Clang's -pedantic is
// silenced around the literal alone.
TEST(DataSource, LongStringLiteralIsGuarded) {
  SourceStyle style;
  style.stringLiteral = true;
  const std::string open =
      "#ifdef __GNUC__\n#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored \"-Woverlength-strings\"\n#endif\n";
  const std::string close = "};\n#ifdef __GNUC__\n#pragma GCC diagnostic pop\n#endif\n";
  for (bool noNamespace : {false, true}) {
    style.noNamespace = noNamespace;
    for (size_t size : {kPortableStringLiteralLength, kPortableStringLiteralLength + 1}) {
      std::string text = Emit(Counting(size), style);
      const bool guarded = size > kPortableStringLiteralLength;
      EXPECT_EQ(text.find(open) != std::string::npos, guarded);
      const std::string end = noNamespace ? close : close + "}\n";
      EXPECT_EQ(text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0, guarded);
    }
  }
}

}  // namespace
