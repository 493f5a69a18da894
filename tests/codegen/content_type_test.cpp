#include "codegen/content_type.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

TEST(ContentType, TheLastExtensionOfTheLastPartCaseIgnored) {
  const std::pair<const char*, const char*> cases[] = {{"index.html", "text/html; charset=utf-8"},
                                                       {"a/B.HTM", "text/html; charset=utf-8"},
                                                       {"x.min.JS", "text/javascript; charset=utf-8"},
                                                       {"f.woff2", "font/woff2"},
                                                       {"f.woff", "font/woff"},
                                                       {"pic.jpeg", "image/jpeg"},
                                                       {"site.tar.gz", "application/octet-stream"},
                                                       {"html", "application/octet-stream"},
                                                       {".css", "application/octet-stream"},
                                                       {"style.css/", "application/octet-stream"},
                                                       {"v1.2/README", "application/octet-stream"},
                                                       {"a.", "application/octet-stream"},
                                                       {"x.svgz", "application/octet-stream"},
                                                       {"ui/icon.ico", "image/x-icon"}};
  for (const auto& [path, type] : cases)
    EXPECT_EQ(ContentTypeOf(path), type) << path;
}

// The table is sorted for its binary search, and every row is found, in either case.
TEST(ContentType, EveryRowIsFoundByItsExtension) {
  const auto rows = ContentTypeRows();
  EXPECT_EQ(rows.size(), 32u);
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
