#include "convert/scan_folder.h"

#include "support/memory_run.h"

namespace {

// Every case runs with files prepared in turn and with several threads preparing them ahead: the console and the files
// must not differ.
class ScanFolderTest : public MemoryRunTest, public testing::WithParamInterface<size_t> {
 protected:
  void SetUp() override {
    run.scanThreads = GetParam();
    settings.format = OutputFormat::Checksum;
    settings.contentDigest = DigestKind::Md5;
    settings.scanTag = ".bin";
  }
  // Entries: "name/" a folder, "name>target" a link, "name|" a pipe, "name" a file holding its name.
  void Tree(std::initializer_list<std::string> entries) {
    for (const std::string& entry : entries) {
      const size_t arrow = entry.find('>');
      if (entry.ends_with('/'))
        fs.AddFolder(entry.substr(0, entry.size() - 1));
      else if (arrow != std::string::npos)
        fs.AddLink(entry.substr(0, arrow), entry.substr(arrow + 1));
      else if (entry.ends_with('|'))
        fs.AddSpecial(entry.substr(0, entry.size() - 1));
      else
        fs.AddFile(entry, entry);
    }
  }
  std::string Scan(const std::string& folder, bool expected = true) {
    return CaptureConsole([&] { EXPECT_EQ(ScanFolder(folder, settings, run), expected); });
  }
  static std::string Applied(const std::string& path, const std::string& output) {
    return "[Apply] " + Native(path) + "\nReading File: " + Native(path) +
           "\nConverting...\nOutput filepath: " + Native(output) + "\n\n";
  }
  static std::string Skipped(const std::string& path, const std::string& reason = "") {
    return "[Skip] " + Native(path) + reason + "\n";
  }
};

// Hidden folders, and folders already entered through a link, are passed over without a word.
TEST_P(ScanFolderTest, WalksTheTreeInByteOrder) {
  Tree({"outside/", "outside/o.bin", "d/", "d/.hidden/", "d/.hidden/y.bin", "d/c.BIN", "d/a.txt", "d/B.bin", "d/in/",
        "d/in/i.bin", "d/again>d/in", "d/loop>d", "d/out>outside", "d/pipe.bin|", "d/dangling.bin>d/nothing",
        "d/link.bin>d/real", "d/real"});
  const std::string notRegular = " (not a regular file)";
  EXPECT_EQ(Scan("d"), Applied("d/B.bin", "d/b.md5") + Skipped("d/a.txt") + Applied("d/again/i.bin", "d/again/i.md5") +
                           Applied("d/c.BIN", "d/c.md5") + Skipped("d/dangling.bin", notRegular) +
                           Applied("d/link.bin", "d/link.md5") +
                           Skipped("d/out", " (folder link leads outside the scanned folder)") +
                           Skipped("d/pipe.bin", notRegular) + Skipped("d/real"));
}

TEST_P(ScanFolderTest, FoldersAndFilesThatCantBeOpened) {
  Tree({"d/", "d/closed/", "d/closed/c.bin", "d/a.bin", "d/z.bin"});
  fs.SetReadable("d/closed", false);
  fs.SetReadable("d/a.bin", false);
  // Neither stops the scan.
  const std::string a = Native("d/a.bin");
  EXPECT_EQ(Scan("d", false), "[Apply] " + a + "\nReading File: " + a + "\n [ERROR] Can't open file: " + a +
                                  "\n\n [ERROR] Can't open folder: " + Native("d/closed") + "\n\n" +
                                  Applied("d/z.bin", "d/z.md5"));
  EXPECT_EQ(Scan("missing", false), " [ERROR] Can't open folder: missing\n\n");
}

INSTANTIATE_TEST_SUITE_P(Threads, ScanFolderTest, testing::Values(size_t{1}, size_t{3}));

}  // namespace
