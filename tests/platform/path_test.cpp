#include "platform/path.h"

#include <gtest/gtest.h>

namespace {

// Inputs may name files with either separator on every platform; folders are joined and stripped natively.
TEST(Path, SeparatorsAndCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"data.bin", "data.bin"}, {"C:\\Data\\data.bin", "data.bin"}, {"a\\b/c.bin", "c.bin"}, {"folder/", ""}};
  for (const auto& [path, name] : cases)
    EXPECT_EQ(FileNameOf(path), name) << path;
  const std::string s(1, kPathSeparator), foreign(1, kPathSeparator == '/' ? '\\' : '/');
  EXPECT_EQ(JoinPath("a", "b"), "a" + s + "b");
  EXPECT_EQ(StripTrailingSeparators("a" + s + s), "a");
  EXPECT_EQ(StripTrailingSeparators(s + s), "");
  EXPECT_EQ(StripTrailingSeparators("a" + foreign), "a" + foreign);
  EXPECT_EQ(NameStartOf("ab" + s + "c"), 3u);
  EXPECT_EQ(NameStartOf("ab" + foreign + "c"), 0u);
  EXPECT_EQ(LowercaseAscii("AZaz@[`{\xc3\x89"), "azaz@[`{\xc3\x89");
}

}  // namespace
