#include "convert/scan_folder.h"

#include "support/memory_run.h"

namespace {

// Every case runs with files prepared in turn and with several threads
// preparing them ahead: the console and the files must not differ.
class ScanFolderTest : public MemoryRunTest, public testing::WithParamInterface<size_t> {
 protected:
  void SetUp() override {
    run.scanThreads = GetParam();
    settings.format = OutputFormat::Md5;
    settings.source = ContentSource::Md5;
    settings.scanTag = ".bin";
  }
  std::string Scan(const std::string& folder, bool expected = true) {
    return CaptureConsole([&] { EXPECT_EQ(ScanFolder(folder, settings, run), expected); });
  }
  static std::string Applied(const std::string& path, const std::string& output) {
    return "[Apply] " + Native(path) + "\nReading File: " + Native(path) + "\nConverting...\nOutput filepath: " +
           Native(output) + "\n\n";
  }
  static std::string Skipped(const std::string& path, const std::string& reason = "") {
    return "[Skip] " + Native(path) + reason + "\n";
  }
};

TEST_P(ScanFolderTest, WalksTheTreeInByteOrder) {
  fs.AddFolder("d/sub");
  fs.AddFolder("d/.hidden");
  fs.AddFile("d/c.BIN", "c");
  fs.AddFile("d/a.txt", "a");
  fs.AddFile("d/B.bin", "B");
  fs.AddFile("d/sub/x.bin", "x");
  fs.AddFile("d/.hidden/y.bin", "y");
  EXPECT_EQ(Scan("d"), Applied("d/B.bin", "d/b.md5") + Skipped("d/a.txt") + Applied("d/c.BIN", "d/c.md5") +
                           Applied("d/sub/x.bin", "d/sub/x.md5"));
}

TEST_P(ScanFolderTest, OnlyRegularFilesAreConverted) {
  fs.AddFolder("d");
  fs.AddSpecial("d/pipe.bin");
  fs.AddLink("d/dangling.bin", "d/nothing");
  fs.AddLink("d/link.bin", "d/real");
  fs.AddFile("d/real", "r");
  const std::string notRegular = " (not a regular file)";
  EXPECT_EQ(Scan("d"), Skipped("d/dangling.bin", notRegular) + Applied("d/link.bin", "d/link.md5") +
                           Skipped("d/pipe.bin", notRegular) + Skipped("d/real"));
  EXPECT_FALSE(fs.Contents("d/pipe.md5"));
}

TEST_P(ScanFolderTest, FolderLinksStayInsideTheTree) {
  fs.AddFolder("outside");
  fs.AddFile("outside/o.bin", "o");
  fs.AddFolder("d/in");
  fs.AddFile("d/in/i.bin", "i");
  fs.AddLink("d/again", "d/in");
  fs.AddLink("d/loop", "d");
  fs.AddLink("d/out", "outside");
  EXPECT_EQ(Scan("d"), Applied("d/again/i.bin", "d/again/i.md5") +
                           Skipped("d/out", " (folder link leads outside the scanned folder)"));
  EXPECT_FALSE(fs.Contents("outside/o.md5"));
}

TEST_P(ScanFolderTest, FoldersThatCantBeOpened) {
  fs.AddFolder("d/closed");
  fs.AddFile("d/closed/c.bin", "c");
  fs.SetReadable("d/closed", false);
  fs.AddFile("d/z.bin", "z");
  EXPECT_EQ(Scan("d", false),
            " [ERROR] Can't open folder: " + Native("d/closed") + "\n\n" + Applied("d/z.bin", "d/z.md5"));
  EXPECT_EQ(Scan("missing", false), " [ERROR] Can't open folder: missing\n\n");
}

TEST_P(ScanFolderTest, AFailedFileDoesNotStopTheScan) {
  fs.AddFolder("d");
  fs.AddFile("d/a.bin", "a");
  fs.SetReadable("d/a.bin", false);
  fs.AddFile("d/b.bin", "b");
  EXPECT_EQ(Scan("d", false), "[Apply] " + Native("d/a.bin") + "\nReading File: " + Native("d/a.bin") +
                                  "\n [ERROR] Can't open file: " + Native("d/a.bin") + "\n\n" +
                                  Applied("d/b.bin", "d/b.md5"));
}

INSTANTIATE_TEST_SUITE_P(Threads, ScanFolderTest, testing::Values(size_t{1}, size_t{3}));

}  // namespace
