#include "codegen/header_text.h"

#include <gtest/gtest.h>

#include "support/golden.h"

namespace {

std::string Header(const SourceStyle& style = {}, uint64_t size = 3) {
  std::string text = BuildHeaderText(size, "sky_png", style);
  EXPECT_EQ(text.substr(0, kBannerBlock.size()), kBannerBlock);
  return text.substr(kBannerBlock.size());
}

TEST(HeaderText, DefaultHeader) {
  EXPECT_EQ(Header(), "#pragma once\n\n#include <cstddef>\n\nnamespace Data {\n"
                      "extern const unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n}\n");
  EXPECT_EQ(kBannerBlock.size() + Header().size(), 311u + 19u);
}

TEST(HeaderText, EachOption) {
  const std::string plain = Header();
  SourceStyle style;
  style.useVector = true;
  EXPECT_EQ(Header(style), "#pragma once\n\n#include <cstddef>\n#include <vector>\n\nnamespace Data {\n"
                           "extern const std::vector<unsigned char> sky_png;\nconst size_t sky_png_size = 3;\n}\n");
  style = {};
  style.dynamicData = true;
  EXPECT_EQ(Header(style), "#pragma once\n\n#include <cstddef>\n\nnamespace Data {\n"
                           "extern unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n}\n");
  style = {};
  style.noNamespace = true;
  EXPECT_EQ(Header(style), "#pragma once\n\n#include <cstddef>\n\n"
                           "extern const unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n");
  style = {};
  style.braceWrapNamespace = true;
  EXPECT_EQ(Header(style), "#pragma once\n\n#include <cstddef>\n\nnamespace Data\n{\n"
                           "extern const unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n}\n");
  style.nameSpace = "ui::assets";
  EXPECT_EQ(Header(style), "#pragma once\n\n#include <cstddef>\n\nnamespace ui::assets\n{\n"
                           "extern const unsigned char sky_png[];\nconst size_t sky_png_size = 3;\n}\n");
  style = {};
  style.sizeType = SizeType::Int32;
  EXPECT_EQ(Header(style), "#pragma once\n\nnamespace Data {\n"
                           "extern const unsigned char sky_png[];\nconst int sky_png_size = 3;\n}\n");
  style.sizeType = SizeType::UInt32;
  EXPECT_EQ(Header(style), "#pragma once\n\nnamespace Data {\n"
                           "extern const unsigned char sky_png[];\nconst unsigned int sky_png_size = 3;\n}\n");
  // Layout options of the rows never reach the header.
  style = {};
  style.braceWrap = style.digestComment = true;
  style.hexOutput = false;
  style.tabSize = 4;
  style.rowMask = 7;
  EXPECT_EQ(Header(style), plain);
}

TEST(HeaderText, AllSwitches) {
  SourceStyle style;
  style.useVector = style.dynamicData = style.noNamespace = style.braceWrap = true;
  style.sizeType = SizeType::UInt32;
  EXPECT_EQ(Header(style), "#pragma once\n\n#include <vector>\n\n"
                           "extern std::vector<unsigned char> sky_png;\nconst unsigned int sky_png_size = 3;\n");
}

TEST(HeaderText, SizeConstantCountsTheBytes) {
  EXPECT_NE(Header({}, 0).find("const size_t sky_png_size = 0;\n"), std::string::npos);
  EXPECT_NE(Header({}, 18446744073709551615u).find("sky_png_size = 18446744073709551615;\n"), std::string::npos);
}

}  // namespace

namespace {

TEST(HeaderText, SizeTypeLimits) {
  EXPECT_TRUE(SizeFitsType(2147483647u, SizeType::Int32));
  EXPECT_FALSE(SizeFitsType(2147483648u, SizeType::Int32));
  EXPECT_TRUE(SizeFitsType(4294967295u, SizeType::UInt32));
  EXPECT_FALSE(SizeFitsType(4294967296u, SizeType::UInt32));
  EXPECT_TRUE(SizeFitsType(UINT64_MAX, SizeType::SizeT));
}

}  // namespace
