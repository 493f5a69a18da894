#include "convert/name_pattern.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fnmatch.h>
#endif

namespace {

// Each pattern against the names it is tried on, each name followed by "+" when it matches; where fnmatch() is
// there, it must say the same of every pair.
TEST(NamePattern, MatchesAsFnmatchWithoutFlags) {
  const std::pair<const char*, std::vector<std::pair<std::string, bool>>> cases[] = {
      {"node_modules", {{"node_modules", true}, {"node_modules2", false}, {"Node_modules", false}}},
      {"*.o", {{"a.o", true}, {".o", true}, {"a.oo", false}, {"a.o.o", true}, {"o", false}}},
      {".*", {{".DS_Store", true}, {".", true}, {"a.b", false}}},
      {"*", {{"", true}, {".x", true}}},
      {"a*b*c", {{"abc", true}, {"aXbYc", true}, {"abcb", false}, {"acbc", true}, {"ab", false}}},
      {"?", {{"a", true}, {"", false}, {"ab", false}}},
      {"*~", {{"file~", true}, {"~", true}, {"file", false}}},
      {"[ab]?", {{"ax", true}, {"bx", true}, {"cx", false}, {"a", false}}},
      {"[!ab]", {{"c", true}, {"a", false}}},
      {"[^ab]", {{"c", true}, {"b", false}}},
      {"[a-c0-9]", {{"b", true}, {"5", true}, {"d", false}, {"-", false}}},
      {"[a-]", {{"a", true}, {"-", true}, {"b", false}}},
      {"[--0]", {{".", true}, {"-", true}, {"0", true}, {"1", false}}},
      {"[]a]", {{"]", true}, {"a", true}, {"b", false}}},
      {"[!]a]", {{"]", false}, {"b", true}}},
      {"[z-a]", {{"z", false}, {"m", false}}},
      {"[\\]]", {{"]", true}, {"\\", false}}},
      {"[a-\\z]", {{"m", true}, {"\\", false}}},
      {"[[:digit:]x]", {{"7", true}, {"x", true}, {"a", false}}},
      {"[[:upper:][:space:]]", {{"Q", true}, {" ", true}, {"q", false}}},
      {"[![:alnum:]]", {{"_", true}, {"9", false}}},
      {"[[:nosuch:]]", {{"a", false}, {":", false}}},
      {"[ab", {{"[ab", true}, {"a", false}}},
      {"[!", {{"[!", true}}},
      {"[]", {{"[]", true}, {"]", false}}},
      {"*[", {{"x[", true}, {"x", false}}},
      {"\\*", {{"*", true}, {"a", false}}},
      {"a\\", {{"a\\", false}, {"a", false}}},
      {"\\[a]", {{"[a]", true}, {"a", false}}},
      {"\xe9*", {{"\xe9t\xe9", true}, {"e", false}}},
      {"[\x80-\xff]", {{"\xe9", true}, {"a", false}}},
  };
  for (const auto& [pattern, names] : cases) {
    for (const auto& [name, matches] : names) {
      EXPECT_EQ(MatchesPattern(pattern, name), matches) << pattern << " on " << name;
#ifndef _WIN32
      EXPECT_EQ(fnmatch(pattern, name.c_str(), 0) == 0, matches) << "fnmatch: " << pattern << " on " << name;
#endif
    }
  }
}

TEST(NamePattern, AnyOfSeveral) {
  EXPECT_TRUE(MatchesAnyPattern({"*.o", "build"}, "build"));
  EXPECT_FALSE(MatchesAnyPattern({"*.o", "build"}, "build.c"));
  EXPECT_FALSE(MatchesAnyPattern({}, "x"));
}

}  // namespace
