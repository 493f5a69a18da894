#include "convert/catalogue.h"

#include "convert/convert_file.h"
#include "platform/gzip.h"
#include "support/memory_run.h"

namespace {

TEST(CataloguePath, KeysUseSlashesAndDropALeadingDot) {
  const std::string scanned = Native("assets/ui/a\\b.png");
  EXPECT_EQ(CataloguePathOf("././ui\\a.png", std::nullopt), "ui/a.png");
  // Below a scanned folder only the native separator is one.
  EXPECT_EQ(CataloguePathOf(scanned, "assets"), kTestSeparator == '/' ? "ui/a\\b.png" : "ui/a/b.png");
}

// A key must not name the machine's folders; a file that goes into no catalogue is never refused.
TEST(CataloguePath, InputsOutsideTheCurrentFolderAreRefused) {
  const std::string refused = " [ERROR] Catalogue path must stay below the current folder (-prefix names it): ";
  ConversionSettings settings;
  settings.intoCatalogue = true;
  for (const char* path : {"/home/me/x.png", "\\\\server\\x", "C:x", "c:\\x", "../x", "a/../x", "a\\..", "./../x"})
    EXPECT_EQ(CaptureConsole([&] { EXPECT_FALSE(MayCatalogue(path, settings)); }), refused + path + "\n\n");
  EXPECT_EQ(CaptureConsole([&] { EXPECT_TRUE(MayCatalogue("a/c:x", settings)); }), "");
  settings.format = OutputFormat::Checksum;
  EXPECT_TRUE(MayCatalogue("../x", settings));
  settings.format = OutputFormat::Cpp;
  settings.intoCatalogue = false;
  EXPECT_TRUE(MayCatalogue("/x", settings));
}

class CatalogueTest : public MemoryRunTest {
 protected:
  void SetUp() override {
    fs.AddFolder("out");
    fs.Add("b.bin", "bee");
    fs.Add("a.bin");
  }
  std::string Run(std::initializer_list<const char*> inputs, bool expected = true) {
    return CaptureConsole([&] {
      settings.intoCatalogue = true;
      for (const char* input : inputs)
        ConvertFile(input, settings, run, PipeWait::Never);
      EXPECT_EQ(WriteCatalogues(run, settings.testMode), expected);
    });
  }
};

TEST_F(CatalogueTest, EntriesAreSortedAndWrittenAtTheEnd) {
  settings.outputFolder = "out";
  OpenCatalogue(run, "assets", settings);
  Run({"b.bin", "./a.bin"});
  EXPECT_TRUE(fs.Contents(Native("out/assets.h")));
  const std::string source = *fs.Contents(Native("out/assets.cpp"));
  EXPECT_NE(source.find("  {std::string_view(\"a.bin\", 5), assets_0, 0, assets_sha256 + 0, assets_type0, "
                        "std::string_view(\"\\\"47DEQpj8HBSa-_TImW-5JCeu\\\"\", 26), false, 0},\n"
                        "  {std::string_view(\"b.bin\", 5), assets_1, 3, assets_sha256 + 32,"),
            std::string::npos);
  // The same catalogue again is left as it is.
  run.outputs.clear();
  EXPECT_NE(Run({}).find("No overwrite, same data for : " + Native("out/assets.cpp")), std::string::npos);
}

TEST_F(CatalogueTest, ASecondPathIsRefusedAndTheRestIsWritten) {
  OpenCatalogue(run, "first", settings);
  settings.testMode = true;
  // Test mode foresees that the header can't be written.
  fs.Add("first.h", "old").writable = false;
  EXPECT_EQ(Run({"a.bin", "./a.bin", "b.bin"}, false),
            "Reading File: a.bin\nConverting...\n\nReading File: ./a.bin\nConverting...\n"
            " [ERROR] Path already in the catalogue: a.bin\n\nReading File: b.bin\nConverting...\n\n"
            "Writing catalogue: first\nOutput filepath: first.cpp\n [ERROR] Can't write file: first.h\n\n");
  EXPECT_EQ(run.catalogues.back().entries.size(), 2u);
  // Test mode wrote nothing.
  EXPECT_FALSE(fs.Contents("first.cpp"));
}

// A checksum file always has a digest too.
TEST_F(CatalogueTest, FilesWithADigestStayFilesOfTheirOwn) {
  OpenCatalogue(run, "c", settings);
  settings.contentDigest = DigestKind::Md5;
  Run({"b.bin"});
  EXPECT_TRUE(fs.Contents("b.bin.cpp"));
  EXPECT_TRUE(run.catalogues.back().entries.empty());
}

TEST(GzipLimit, NineTenthsRoundedDown) {
  const std::pair<size_t, size_t> cases[] = {{0, 0},   {9, 8},   {10, 9},
                                             {19, 17}, {20, 18}, {SIZE_MAX, SIZE_MAX / 10 * 9 + 4}};
  for (const auto& [size, limit] : cases)
    EXPECT_EQ(GzipLimitOf(size), limit) << size;
}

// Only what shrinks by a tenth is stored as gzip; a catalogue includes zlib once an entry came under -compress.
TEST_F(CatalogueTest, CompressedEntriesAndTheCataloguesThatInflate) {
  if (!GzipAvailable())
    GTEST_SKIP() << "built without zlib";
  fs.Add("text", std::string(1000, 'a'));
  OpenCatalogue(run, "plain", settings);
  Run({"text"});
  run.outputs.clear();
  OpenCatalogue(run, "packed", settings);
  settings.compress = true;
  Run({"b.bin", "text"});
  EXPECT_TRUE(run.catalogues.back().entries.at("text").storage.gzip);
  EXPECT_EQ(fs.Contents("plain.cpp")->find("zlib"), std::string::npos);
  EXPECT_NE(fs.Contents("packed.cpp")->find("#include <zlib.h>"), std::string::npos);
}

}  // namespace
