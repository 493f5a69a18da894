#include "codegen/data_source.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "support/golden.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The text made piece by piece. Its announced length decides whether an existing target is compared or rewritten, so
// every case checks that it matches.
std::string Emit(const Bytes& bytes, const SourceStyle& style = {}) {
  ByteBuffer buffer;
  buffer.Assign(bytes.data(), bytes.size());
  std::string text;
  EmitDataSource(buffer, "sky_png", style, text);
  EXPECT_EQ(DataSourceText(buffer, "sky_png", style).size(), text.size());
  return text;
}

std::string Body(const Bytes& bytes, const SourceStyle& style = {}) {
  std::string text = Emit(bytes, style);
  EXPECT_EQ(text.substr(0, kBannerBlock.size()), kBannerBlock);
  return text.substr(kBannerBlock.size());
}

Bytes Counting(size_t count) {
  Bytes bytes(count);
  std::iota(bytes.begin(), bytes.end(), static_cast<unsigned char>(0));
  return bytes;
}

const Bytes kSky{0x00, 0x41, 0xFF};
const std::string kSkyRow = "  0x00, 0x41, 0xFF";
const std::string kDecl = "extern const unsigned char sky_png[] =";
const std::string kArray = "namespace Data {\n" + kDecl + " {\n";
const std::string kVector = "#include <vector>\n\nnamespace Data {\nextern const std::vector<unsigned char> sky_png =";
const std::string kEnd = "\n};\n}\n";

TEST(DataSource, EachStyleOption) {
  const std::pair<SourceStyle, std::string> cases[] = {
      {{}, kArray + kSkyRow + kEnd},
      {{.useVector = true}, kVector + " {\n" + kSkyRow + kEnd},
      {{.dynamicData = true}, "namespace Data {\nunsigned char sky_png[] = {\n" + kSkyRow + kEnd},
      {{.noNamespace = true}, kDecl + " {\n" + kSkyRow + "\n};"},
      {{.braceWrap = true}, "namespace Data {\n" + kDecl + "\n{\n" + kSkyRow + kEnd},
      {{.braceWrapNamespace = true}, "namespace Data\n{\n" + kDecl + " {\n" + kSkyRow + kEnd},
      {{.nameSpace = "ui::assets"}, "namespace ui::assets {\n" + kDecl + " {\n" + kSkyRow + kEnd},
      {{.alignment = 1}, "namespace Data {\nalignas(1) " + kDecl + " {\n" + kSkyRow + kEnd},
      {{.alignment = 64, .digestComment = true},
       "namespace Data {\n// 0041ff\nalignas(64) " + kDecl + " {\n" + kSkyRow + kEnd},
      // A vector is never aligned.
      {{.tabSize = 0,
        .hexOutput = false,
        .alignment = 64,
        .dynamicData = true,
        .noNamespace = true,
        .useVector = true,
        .braceWrap = true},
       "#include <vector>\n\nstd::vector<unsigned char> sky_png =\n{\n0, 65, 255\n};"},
  };
  for (const auto& [style, text] : cases)
    EXPECT_EQ(Body(kSky, style), text);
}

// An empty array holds one zero; an empty vector is valid C++ and keeps its empty row. 256 bytes fill their last row;
// 17 in rows of 8 leave one byte on it.
TEST(DataSource, Rows) {
  EXPECT_EQ(Body({}), kArray + "  0x00" + kEnd);
  EXPECT_EQ(Body({}, {.tabSize = 3, .useVector = true}), kVector + " {\n   " + kEnd);
  std::string decimal = "  ";
  for (int i = 0; i < 256; ++i)
    decimal += std::to_string(i) + (i == 255 ? "" : i % 16 == 15 ? ", \n  " : ", ");
  EXPECT_EQ(Body(Counting(256), {.hexOutput = false}), kArray + decimal + kEnd);
  EXPECT_EQ(Body(Counting(17), {.rowWidth = 8}), kArray +
                                                     "  0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, \n"
                                                     "  0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, \n  0x10" +
                                                     kEnd);
}

TEST(DataSource, StringLiteralForms) {
  const std::string vectorOfA =
      " [] {\n  static const unsigned char text[] = {\n    \"a\"\n  };\n"
      "  return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();\n}\n";
  const std::tuple<SourceStyle, Bytes, std::string> cases[] = {
      {{}, {}, kArray + "  \"\"" + kEnd},
      {{.rowWidth = 2, .rowWidthChosen = true}, kSky, kArray + "  \"\\0A\"\n  \"\\377\"" + kEnd},
      {{}, Bytes(65, 'a'), kArray + "  \"" + std::string(64, 'a') + "\"\n  \"a\"" + kEnd},
      {{.useVector = true}, {'a'}, kVector + vectorOfA},
      {{.tabSize = 1, .noNamespace = true, .useVector = true, .braceWrap = true},
       {},
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
  for (bool noNamespace : {false, true})
    for (size_t size : {kPortableStringLiteralLength, kPortableStringLiteralLength + 1}) {
      const std::string text = Emit(Counting(size), {.noNamespace = noNamespace, .stringLiteral = true});
      const bool guarded = size > kPortableStringLiteralLength;
      EXPECT_EQ(text.find(open) != std::string::npos, guarded);
      EXPECT_EQ(text.ends_with(noNamespace ? close : close + "}\n"), guarded);
    }
}

}  // namespace
