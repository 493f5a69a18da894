#include "convert/output_file.h"

#include "support/memory_run.h"

namespace {

class OutputFileTest : public MemoryRunTest {
 protected:
  // Writes through a conversion of `input`; returns the console text.
  std::string Write(const std::string& path, const std::string& content, const std::string& input = "in",
                    bool expected = true) {
    Conversion conversion{settings, run, input, "key:" + input};
    return CaptureConsole([&] { EXPECT_EQ(WriteIfChanged(conversion, path, content), expected) << path; });
  }
  static std::string Error(const std::string& message, const std::string& path) {
    return " [ERROR] " + message + ": " + path + "\n\n";
  }
};

TEST_F(OutputFileTest, NamingTable) {
  EXPECT_EQ(BuildOutputPath(settings, "Logo.PNG", ".cxx"), "Logo.PNG.cxx");
  settings.outputFolder = Native("/out");
  EXPECT_EQ(BuildOutputPath(settings, Native("/data/Logo.PNG"), ".cpp"), Native("/out/Logo.PNG.cpp"));
  settings.scanTag = ".png";
  EXPECT_EQ(BuildOutputPath(settings, Native("/data/Sub/Logo.PNG"), ".cpp"), Native("/out/logo.cpp"));
}

// Every occurrence, in any case; one that removing another forms is left (a scan test shows it). Paths are written
// with "/" and tested with the platform's separator.
TEST(ScanTag, Removal) {
  const std::tuple<std::string, const char*, const char*> cases[] = {{".bin", "/d/.bin", "/d/"},
                                                                     {".bin", "/d/My.Bin.Old.bin", "/d/my.old"},
                                                                     {".bin", "/Dir.BIN/X.Bin", "/Dir.BIN/x"},
                                                                     {"", "/D/Logo.PNG", "/D/logo.png"},
                                                                     {"ss", "/x/sssss", "/x/s"}};
  for (const auto& [tag, stem, stripped] : cases)
    EXPECT_EQ(StripScanTag(tag, Native(stem)), Native(stripped)) << stem;
}

TEST_F(OutputFileTest, WritesOnlyWhenTheBytesChange) {
  EXPECT_EQ(Write("a.cpp", "one"), "Output filepath: a.cpp\n");
  EXPECT_EQ(Write("a.cpp", "one"), "No overwrite, same data for : a.cpp\n");
  EXPECT_EQ(Write("a.cpp", "two"), "Output filepath: a.cpp\n");
  EXPECT_EQ(fs.Contents("a.cpp"), "two");
}

TEST_F(OutputFileTest, TestModeComparesButNeverWrites) {
  settings.testMode = true;
  fs.Add("other.h", "y");
  EXPECT_EQ(Write("other.h", "x"), "Output filepath: other.h\n");
  EXPECT_EQ(fs.Contents("other.h"), "y");
  // What a real write would refuse is foreseen.
  EXPECT_EQ(Write("missing/a.h", "x", "in", false), Error("Can't write file", "missing/a.h"));
}

TEST_F(OutputFileTest, TargetsThatRefuse) {
  fs.Add("unreadable.h", "x").readable = false;
  EXPECT_EQ(Write("unreadable.h", "x", "in", false), Error("Can't read target file", "unreadable.h"));
  // Never over its own input, under any of its names.
  fs.Add("a.cpp", "input");
  fs.AddHardLink("b.cpp", "a.cpp");
  EXPECT_EQ(Write("b.cpp", "text", "a.cpp", false), Error("Output would overwrite its input", "b.cpp"));
}

TEST_F(OutputFileTest, OneOutputPerInputInARun) {
  const std::string taken = "Output already written for another input";
  EXPECT_EQ(Write("out.h", "first", "a"), "Output filepath: out.h\n");
  EXPECT_EQ(Write("out.h", "second", "b", false), Error(taken, "out.h"));
  // Found unchanged counts as written too; a failed write claims nothing.
  fs.Add("kept.h", "k");
  Write("kept.h", "k", "a");
  EXPECT_EQ(Write("kept.h", "k", "b", false), Error(taken, "kept.h"));
  EXPECT_EQ(Write("nowhere/x.h", "d", "a", false), Error("Can't write file", "nowhere/x.h"));
  fs.AddFolder("nowhere");
  EXPECT_EQ(Write("nowhere/x.h", "d", "b"), "Output filepath: nowhere/x.h\n");
  // One folder however it is reached; another name in it is another output.
  fs.Add("link", "nowhere", MemoryFileSystem::Kind::Link);
  EXPECT_EQ(Write(Native("nowhere/w.h"), "e", "a"), "Output filepath: " + Native("nowhere/w.h") + "\n");
  EXPECT_EQ(Write(Native("link/w.h"), "f", "b", false), Error(taken, Native("link/w.h")));
  EXPECT_EQ(Write(Native("link/y.h"), "f", "b"), "Output filepath: " + Native("link/y.h") + "\n");
}

}  // namespace
