#include "codegen/content_type.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

TEST(ContentType, TheLastExtensionOfTheLastPartCaseIgnored) {
  for (const char* path : {"a/B.HTM", "x.min.Html", "v.2/index.html"})
    EXPECT_EQ(ContentTypeOf(path), "text/html; charset=utf-8") << path;
  for (const char* path : {"site.tar.gz", "html", ".css", "style.css/", "v1.2/README", "a.", "x.svgz"})
    EXPECT_EQ(ContentTypeOf(path), kDefaultContentType) << path;
}

// The binary search finds every row of the table, in either case, only if the table is sorted.
TEST(ContentType, EveryRowIsFoundByItsExtension) {
  for (const ContentTypeRow& row : ContentTypeRows()) {
    EXPECT_EQ(ContentTypeOf("a/b." + std::string(row.extension)), row.type);
    std::string upper(row.extension);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return std::toupper(c); });
    EXPECT_EQ(ContentTypeOf("B." + upper), row.type);
  }
}

// base64url: "-" and "_" where base64 has "+" and "/".
TEST(ContentType, EntityTagsAreQuotedBase64UrlOfEighteenBytes) {
  // A byte past the eighteenth changes nothing.
  const unsigned char digest[32] = {0xFB, 0xFF, 0xBF, 0x00, 0x10, 0x83, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF};
  EXPECT_EQ(EntityTagOf(digest), "\"-_-_ABCDAAAAAAAAAAAAAAAA\"");
}

}  // namespace
