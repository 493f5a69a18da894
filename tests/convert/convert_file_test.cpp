#include "convert/convert_file.h"

#include "support/memory_run.h"

namespace {

const std::string kSkyRead = "Reading File: sky.png\nConverting...\n";

class ConvertFileTest : public MemoryRunTest {
 protected:
  void SetUp() override { fs.Add("sky.png", std::string("\x00\x41\xff", 3)); }
  std::string Convert(const std::string& input, bool expected = true) {
    return CaptureConsole([&] { EXPECT_EQ(ConvertFile(input, settings, run, PipeWait::Never), expected) << input; });
  }
  bool Holds(const char* path, const std::string& text) { return fs.Contents(path)->find(text) != std::string::npos; }
};

TEST_F(ConvertFileTest, SourceAndHeaderThenTheSameTextsAgain) {
  EXPECT_EQ(Convert("sky.png"), kSkyRead + "Output filepath: sky.png.cpp\nOutput filepath: sky.png.h\n\n");
  EXPECT_TRUE(Holds("sky.png.cpp", "sky_png[] = {\n  0x00, 0x41, 0xFF\n};"));
  EXPECT_TRUE(Holds("sky.png.h", "sky_png_size = 3;"));
  EXPECT_EQ(Convert("sky.png"),
            kSkyRead + "No overwrite, same data for : sky.png.cpp\nNo overwrite, same data for : sky.png.h\n\n");
  // The .cxx holds the text of the .cpp.
  settings.format = OutputFormat::Cxx;
  EXPECT_EQ(Convert("sky.png"), kSkyRead + "Output filepath: sky.png.cxx\n\n");
  EXPECT_EQ(fs.Contents("sky.png.cxx"), fs.Contents("sky.png.cpp"));
}

// A checksum file holds the digest alone; -cpp_* and -cxx_* put the digest in place of the bytes.
TEST_F(ConvertFileTest, Digests) {
  const std::pair<DigestKind, const char*> abcDigests[] = {
      {DigestKind::Md5, "900150983cd24fb0d6963f7d28e17f72"},
      {DigestKind::Sha1, "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {DigestKind::Sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {DigestKind::Sha512,
       "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a8"
       "36ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
  };
  fs.Add("abc", "abc");
  for (const auto& [kind, digest] : abcDigests) {
    settings.format = OutputFormat::Checksum, settings.contentDigest = kind;
    const std::string path = std::string("abc") + DigestInfoOf(kind).extension;
    EXPECT_EQ(Convert("abc"), "Reading File: abc\nConverting...\nOutput filepath: " + path + "\n\n");
    EXPECT_EQ(fs.Contents(path), digest);
    settings.format = OutputFormat::Cpp;
    Convert("abc");
    EXPECT_TRUE(Holds("abc.cpp", std::string("\n// ") + digest + "\n"));
  }
}

TEST_F(ConvertFileTest, InputsThatCantBeReadAndTargetsThatCantBeWritten) {
  EXPECT_EQ(Convert("missing", false), "Reading File: missing\n [ERROR] Can't open file: missing\n\n");
  // No header after a source that failed.
  fs.Add("sky.png.cpp", "old").writable = false;
  EXPECT_EQ(Convert("sky.png", false), kSkyRead + " [ERROR] Can't write file: sky.png.cpp\n\n");
}

TEST_F(ConvertFileTest, SameFileUnderTwoNamesIsOneInput) {
  settings.outputFolder = "out";
  fs.AddFolder("out");
  fs.Add("a/x.bin", "1");
  fs.Add("b/x.bin", "2");
  fs.AddHardLink("x.bin", "a/x.bin");
  Convert("a/x.bin");
  Convert("x.bin");
  EXPECT_NE(Convert("b/x.bin", false).find("Output already written for another input"), std::string::npos);
}

// -incbin names the input by its absolute path and carries its digest; digest arrays keep their text; the assembler
// can fill neither a vector nor writable data.
TEST_F(ConvertFileTest, IncbinSources) {
  settings.style.incbin = true;
  Convert("sky.png");
  EXPECT_TRUE(Holds("sky.png.cpp", "fae12c85cb1b6aca5070c8837c2b720665f35afabe2dcd504d6c970de880d834 */\\n\"\n"));
  // A Windows separator is escaped once for the assembler and again for C++.
  std::string path;
  for (const char c : JoinPath("", "sky.png"))
    path += c == '\\' ? std::string(4, '\\') : std::string(1, c);
  EXPECT_TRUE(Holds("sky.png.cpp", "\"bin \\\"" + path + "\\\"\\n\""));
  settings.format = OutputFormat::Cxx, settings.contentDigest = DigestKind::Md5;
  Convert("sky.png");
  EXPECT_FALSE(Holds("sky.png.cxx", ".inc"));
  settings.contentDigest.reset();
  for (bool SourceStyle::*field : {&SourceStyle::useVector, &SourceStyle::dynamicData}) {
    settings.style.useVector = settings.style.dynamicData = false;
    settings.style.*field = true;
    EXPECT_EQ(Convert("sky.png", false),
              kSkyRead + " [ERROR] -incbin can't make a vector (-stl) or writable data (-dyn): sky.png\n\n");
  }
}

// A name can't move the cursor, recolour the terminal or break a line of the log; the file keeps its name.
TEST_F(ConvertFileTest, ControlBytesOfANameArePrintedAsOctalEscapes) {
  settings.format = OutputFormat::Checksum, settings.contentDigest = DigestKind::Md5;
  const std::string name = "e\x1b[2J\n\x7f.bin", shown = "e\\033[2J\\012\\177.bin";
  fs.Add(name, "abc");
  EXPECT_EQ(Convert(name), "Reading File: " + shown + "\nConverting...\nOutput filepath: " + shown + ".md5\n\n");
  EXPECT_TRUE(fs.Contents(name + ".md5"));
}

}  // namespace
