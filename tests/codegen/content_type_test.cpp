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

// The table is sorted for its binary search, and every row is found, in either case.
TEST(ContentType, EveryRowIsFoundByItsExtension) {
  const auto rows = ContentTypeRows();
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.extension < b.extension; }));
  for (const ContentTypeRow& row : rows) {
    EXPECT_EQ(ContentTypeOf("a/b." + std::string(row.extension)), row.type);
    std::string upper(row.extension);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return std::toupper(c); });
    EXPECT_EQ(ContentTypeOf("B." + upper), row.type);
  }
}

// base64url: "-" and "_" where base64 has "+" and "/".
TEST(ContentType, EntityTagsAreQuotedBase64UrlOfEighteenBytes) {
  unsigned char digest[32] = {0xFB, 0xFF, 0xBF, 0x00, 0x10, 0x83};
  EXPECT_EQ(EntityTagOf(digest), "\"-_-_ABCDAAAAAAAAAAAAAAAA\"");
  std::fill(std::begin(digest), std::end(digest), 0xFF);
  digest[kEntityTagDigestBytes] = 0;
  EXPECT_EQ(EntityTagOf(digest), "\"" + std::string(24, '_') + "\"");
}

}  // namespace
