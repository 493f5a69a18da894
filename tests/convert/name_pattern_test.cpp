#include "convert/name_pattern.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Each pattern (or patterns of one meaning), the names it matches and the names it doesn't, " " apart, as glibc's
// fnmatch() takes them (the catalogue_keys fuzz target holds the two together, and its seeds keep glibc's odd cases).
TEST(NamePattern, MatchesAsFnmatchWithoutFlags) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"node_modules", "node_modules", "node_modules2 Node_modules"},
      {"*.o", "a.o .o a.o.o", "a.oo o"},
      {".*", ".DS_Store .", "a.b"},
      {"a*b*c", "abc aXbYc acbc", "abcb ab"},
      {"?", "a", "ab"},
      {"[!ab] [^ab]", "c c", "a b"},
      {"[a-c0-9]", "b 5", "d -"},
      {"[a-]", "a -", "b"},
      {"[--0]", ". - 0", "1"},
      {"[]a]", "] a", "b"},
      {"[!]a]", "b", "]"},
      {"[z-a]", "", "z m"},
      {"[\\]]", "]", "\\"},
      {"[a-\\z]", "m", "\\"},
      {"[[:digit:]x][[:upper:][:punct:]]", "7Q x_", "aQ 7q"},
      {"[![:alnum:]]", "_", "9"},
      {"[[:nosuch:]]", "", "a : s]"},
      {"[[.a.]-[.c.]] [[.-.][=b=]c] [a-[.c.]]", "b", "d"},
      {"[[=a=]-c]", "- c a", "b"},
      {"[a-[=c=]]", "c] =]", "b b] a]"},
      {"[ab", "[ab", "a"},
      {"*[", "x[", "x"},
      {"[]", "[]", "]"},
      {"[!", "[!", "!"},
      {"\\*", "*", "a"},
      {"\\[a]", "[a]", "a"},
      {"a\\", "", "a\\ a"},
      {"\xe9*", "\xe9t\xe9", "e"},
      {"[\x80-\xff]", "\xe9", "a"},
  };
  for (const auto& [patterns, matching, other] : cases) {
    std::istringstream patternList(patterns);
    for (std::string pattern; patternList >> pattern;) {
      for (const auto& [names, expected] : {std::pair(matching, true), std::pair(other, false)}) {
        std::istringstream nameList(names);
        for (std::string name; nameList >> name;) {
          EXPECT_EQ(MatchesPattern(pattern, name), expected) << pattern << " on " << name;
        }
      }
    }
  }
  EXPECT_TRUE(MatchesPattern("*", ""));
  EXPECT_TRUE(MatchesAnyPattern({"*.o", "build"}, "build"));
  EXPECT_FALSE(MatchesAnyPattern({"*.o", "build"}, "build.c"));
}

}  // namespace
