#include "codegen/header_text.h"

#include <gtest/gtest.h>

#include "support/golden.h"

namespace {

std::string Header(const SourceStyle& style = {}, uint64_t size = 3) {
  std::string text = BuildHeaderText(size, "sky_png", style);
  EXPECT_EQ(text.substr(0, kBannerBlock.size()), kBannerBlock);
  return text.substr(kBannerBlock.size());
}

TEST(HeaderText, EachOption) {
  const std::string top = "#pragma once\n\n#include <cstddef>\n\n", array = "extern const unsigned char sky_png[];\n";
  const std::string size = "const size_t sky_png_size = 3;\n", plain = top + "namespace Data {\n" + array + size + "}\n";
  const std::pair<SourceStyle, std::string> cases[] = {
      {{}, plain},
      {{.useVector = true}, "#pragma once\n\n#include <cstddef>\n#include <vector>\n\nnamespace Data {\n"
                            "extern const std::vector<unsigned char> sky_png;\n" + size + "}\n"},
      {{.dynamicData = true}, top + "namespace Data {\nextern unsigned char sky_png[];\n" + size + "}\n"},
      {{.noNamespace = true}, top + array + size},
      {{.braceWrapNamespace = true}, top + "namespace Data\n{\n" + array + size + "}\n"},
      {{.nameSpace = "ui::assets", .braceWrapNamespace = true}, top + "namespace ui::assets\n{\n" + array + size + "}\n"},
      {{.sizeType = SizeType::Int32}, "#pragma once\n\nnamespace Data {\n" + array + "const int sky_png_size = 3;\n}\n"},
      {{.sizeType = SizeType::UInt32},
       "#pragma once\n\nnamespace Data {\n" + array + "const unsigned int sky_png_size = 3;\n}\n"},
      // Layout options of the rows never reach the header.
      {{.rowMask = 7, .tabSize = 4, .hexOutput = false, .braceWrap = true, .digestComment = true}, plain},
      {{.sizeType = SizeType::UInt32, .dynamicData = true, .noNamespace = true, .useVector = true, .braceWrap = true},
       "#pragma once\n\n#include <vector>\n\nextern std::vector<unsigned char> sky_png;\n"
       "const unsigned int sky_png_size = 3;\n"},
  };
  for (const auto& [style, text] : cases)
    EXPECT_EQ(Header(style), text);
  EXPECT_EQ(kBannerBlock.size() + plain.size(), 311u + 19u);
}

TEST(HeaderText, SizeConstantCountsTheBytesAndFitsItsType) {
  EXPECT_NE(Header({}, 0).find("const size_t sky_png_size = 0;\n"), std::string::npos);
  EXPECT_NE(Header({}, UINT64_MAX).find("sky_png_size = 18446744073709551615;\n"), std::string::npos);
  EXPECT_TRUE(SizeFitsType(2147483647u, SizeType::Int32));
  EXPECT_FALSE(SizeFitsType(2147483648u, SizeType::Int32));
  EXPECT_TRUE(SizeFitsType(4294967295u, SizeType::UInt32));
  EXPECT_FALSE(SizeFitsType(4294967296u, SizeType::UInt32));
  EXPECT_TRUE(SizeFitsType(UINT64_MAX, SizeType::SizeT));
}

}  // namespace
