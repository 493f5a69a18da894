#include "convert/name_pattern.h"

#include <gtest/gtest.h>

namespace {

// A pattern matches as glibc's fnmatch() without flags: the seeds of the catalogue_keys fuzz target (pattern_*),
// which the suite replays, hold the cases, each checked against fnmatch() itself.
TEST(NamePattern, AnyOfSeveralPatterns) {
  EXPECT_TRUE(MatchesAnyPattern({"*.o", "build"}, "build"));
  EXPECT_FALSE(MatchesAnyPattern({"*.o", "build"}, "build.c"));
  EXPECT_FALSE(MatchesAnyPattern({}, "a"));
}

}  // namespace
