#include "codegen/catalogue_text.h"

#include <gtest/gtest.h>

#include "codegen/data_source.h"

namespace {

std::string Whole(CatalogueSourceText& text) {
  std::string whole;
  std::string piece(DataSourceText::kMinPieceCapacity, '\0');
  while (size_t length = text.Next(piece.data(), piece.size()))
    whole.append(piece.data(), length);
  return whole;
}

// Each array of a catalogue is a part: nothing around it, internal linkage.
TEST(CatalogueSource, PiecesMakeTheWholeTextAgainAfterRewind) {
  // Enough entries, one of them larger than a piece, for the text to span many pieces.
  std::vector<std::string> paths;
  for (int i = 0; i < 300; ++i)
    paths.push_back("dir/" + std::to_string(1000 + i) + (i == 5 ? ".png" : ""));
  ByteBuffer small, large;
  small.Assign("\"?\\", 3);
  large.Assign(std::string(100000, 'x').data(), 100000);
  const unsigned char digest[kCatalogueDigestSize] = {0xAB};
  std::vector<CatalogueItem> items;
  for (const std::string& path : paths)
    items.push_back({path, items.size() == 7 ? &large : &small, digest, {}, {}});
  items[3].style.stringLiteral = true;
  items[0].style.alignment = 64;
  CatalogueSourceText text("cat", {.noNamespace = true}, items);
  const std::string whole = Whole(text);
  EXPECT_EQ(whole.size(), text.size());
  text.Rewind();
  EXPECT_EQ(Whole(text), whole);
  EXPECT_NE(whole.find("\n\nalignas(64) const unsigned char cat_0[] = {\n  0x22, 0x3F, 0x5C\n};\nconst"),
            std::string::npos);
  // Each content type is one constant, which its entries copy.
  EXPECT_NE(whole.find("\nconstexpr std::string_view cat_type0(\"application/octet-stream\", 24);\n"
                       "constexpr std::string_view cat_type1(\"image/png\", 9);\n\n}  // namespace\n"),
            std::string::npos);
  EXPECT_NE(whole.find("\"dir/1005.png\", 12), cat_5, 3, cat_sha256 + 160, cat_type1, "), std::string::npos);
  EXPECT_NE(whole.find("  {std::string_view(\"dir/1299\", 8), cat_299, 3, cat_sha256 + 9568, cat_type0, "
                       "std::string_view(\"\\\"qwAAAAAAAAAAAAAAAAAAAAAA\\\"\", 26), false, 0},\n};\n"),
            std::string::npos);
  // A child is its entry, or the first entry below it, and where its name starts in that path.
  EXPECT_NE(whole.find("cat_children[] = {\n  {0, 0},\n  {0, 4},\n  {1, 4},\n"), std::string::npos);
  EXPECT_NE(whole.find("  {std::string_view(\"\", 0), 0, 1},\n  {std::string_view(\"dir\", 3), 1, 301},\n};\n"),
            std::string::npos);
  EXPECT_EQ(whole.substr(whole.size() - 43), "  return cat_folder_of(path) != nullptr;\n}\n");
}

}  // namespace
