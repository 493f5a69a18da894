#include "codegen/depfile_text.h"

#include <gtest/gtest.h>

namespace {

// Each path as written, and as Ninja 1.11 and GNU Make 4.3 both read it back (the catalogue_keys fuzz target reads
// them as the two tools do); empty when it can't be written.
TEST(DepfileText, EscapesWhatBothToolsReadBackAndRefusesTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain/a.bin", "plain/a.bin"},
      {"a b  c", "a\\ b\\ \\ c"},
      {" lead", "\\ lead"},
      {"a#b", "a\\#b"},
      {"$x$$", "$$x$$$$"},
      {"C:/data/a:b", "C\\:/data/a\\:b"},
      {"win\\dir\\a.bin", "win\\dir\\a.bin"},
      {"a\\ b", "a\\\\\\ b"},
      {"a\\\\ b", "a\\\\\\\\\\ b"},
      {"a\\b c", "a\\b\\ c"},
      {"a (1) ]x[ ~b", "a\\ (1)\\ ]x[\\ ~b"},
      {"a()", "a()"},
  };
  for (const auto& [path, escaped] : cases) {
    EXPECT_TRUE(CanWriteDepfilePath(path)) << path;
    EXPECT_EQ(EscapeDepfilePath(path), escaped) << path;
  }
  for (const char* path : {"Q&A", "a(1)", "x[1]", "del\x7f", "bell\a", "new\nline", "end\\", "a\\#b", "a\\:b", "a\\$b"})
    EXPECT_FALSE(CanWriteDepfilePath(path)) << path;
}

}  // namespace
