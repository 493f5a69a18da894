#include "codegen/header_text.h"

#include <gtest/gtest.h>

#include "support/golden.h"

namespace {

// Each branch of the header once; where options combine, the combined case shows each alone.
TEST(HeaderText, EachOption) {
  const std::string pragma = "#pragma once\n\n", top = pragma + "#include <cstddef>\n\n", data = "namespace Data {\n";
  const std::string array = "extern const unsigned char sky_png[];\n", size = "const size_t sky_png_size = 3;\n";
  const std::string plain = top + data + array + size + "}\n";
  const std::pair<SourceStyle, std::string> cases[] = {
      {{}, plain},
      {{.alignment = 64, .useVector = true},
       pragma + "#include <cstddef>\n#include <vector>\n\n" + data +
           "extern const std::vector<unsigned char> sky_png;\n" + size + "}\n"},
      {{.nameSpace = "ui::a", .braceWrapNamespace = true}, top + "namespace ui::a\n{\n" + array + size + "}\n"},
      {{.alignment = 64, .sizeType = SizeType::Int32},
       pragma + data + "alignas(64) " + array + "const int sky_png_size = 3;\n}\n"},
      // Layout options of the rows never reach the header.
      {{.rowWidth = 8, .tabSize = 4, .hexOutput = false, .braceWrap = true, .digestComment = true}, plain},
      {{.sizeType = SizeType::UInt32, .dynamicData = true, .noNamespace = true, .useVector = true, .braceWrap = true},
       pragma + "#include <vector>\n\nextern std::vector<unsigned char> sky_png;\n" +
           "const unsigned int sky_png_size = 3;\n"},
  };
  for (const auto& [style, text] : cases)
    EXPECT_EQ(BuildHeaderText(3, "sky_png", style), kBannerBlock + text);
}

TEST(HeaderText, SizeConstantCountsTheBytesAndFitsItsType) {
  EXPECT_NE(BuildHeaderText(0, "a", {}).find("const size_t a_size = 0;\n"), std::string::npos);
  EXPECT_NE(BuildHeaderText(UINT64_MAX, "a", {}).find(" a_size = 18446744073709551615;\n"), std::string::npos);
  EXPECT_TRUE(SizeFitsType(2147483647u, SizeType::Int32) && !SizeFitsType(2147483648u, SizeType::Int32));
  EXPECT_TRUE(SizeFitsType(4294967295u, SizeType::UInt32) && !SizeFitsType(4294967296u, SizeType::UInt32));
  EXPECT_TRUE(SizeFitsType(UINT64_MAX, SizeType::SizeT));
}

}  // namespace
