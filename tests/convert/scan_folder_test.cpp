#include "convert/scan_folder.h"

#include "support/memory_run.h"
#include "support/refusing_threads.h"

namespace {

using Threads = std::pair<size_t, size_t>;  // asked for, and started before the starter refuses

// Every case runs with three threads asked for and none, one or all of them started (none prepares each file in its
// turn), and with one asked for, which starts none: the console and the files must not differ.
class ScanFolderTest : public MemoryRunTest, public testing::WithParamInterface<Threads> {
 protected:
  void SetUp() override {
    run.scanThreads = GetParam().first;
    run.startThread = RefusingAfter(GetParam().second);
    settings.format = OutputFormat::Checksum;
    settings.contentDigest = DigestKind::Md5;
    settings.scanTag = ".bin";
  }
  // Entries: "name/" a folder, "name>target" a link, "name" a file holding its name; folders above are made as needed.
  void Tree(std::initializer_list<std::string> entries) {
    for (const std::string& entry : entries) {
      const size_t arrow = entry.find('>');
      if (entry.ends_with('/'))
        fs.AddFolder(entry);
      else if (arrow != std::string::npos)
        fs.Add(entry.substr(0, arrow), entry.substr(arrow + 1), MemoryFileSystem::Kind::Link);
      else
        fs.Add(entry, entry);
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

// Hidden folders, and folders already entered through a link, are passed over without a word; after a subfolder the
// walk goes on where it was.
TEST_P(ScanFolderTest, WalksTheTreeInByteOrder) {
  Tree({"outside/o.bin", "d/.hidden/y.bin", "d/c.BIN", "d/a.txt", "d/B.bin", "d/in/h.bin", "d/in/i.bin", "d/again>d/in",
        "d/loop>d", "d/out>outside", "d/dangling.bin>d/nothing", "d/link.bin>d/real", "d/real"});
  EXPECT_EQ(Scan("d"), Applied("d/B.bin", "d/b.md5") + Skipped("d/a.txt") + Applied("d/again/h.bin", "d/again/h.md5") +
                           Applied("d/again/i.bin", "d/again/i.md5") + Applied("d/c.BIN", "d/c.md5") +
                           Skipped("d/dangling.bin", " (not a regular file)") + Applied("d/link.bin", "d/link.md5") +
                           Skipped("d/out", " (folder link leads outside the scanned folder)") + Skipped("d/real"));
  // Each file is read once: ahead of its turn when a worker started (on the
  // worker, or here while waiting for it), else here in its turn.
  for (const char* read : {"d/B.bin", "d/again/h.bin", "d/again/i.bin", "d/c.BIN", "d/link.bin"}) {
    const std::vector<std::thread::id> readers = fs.ReadersOf(read);
    ASSERT_EQ(readers.size(), 1u) << read;
    if (GetParam().first == 1 || GetParam().second == 0) {
      EXPECT_EQ(readers[0], std::this_thread::get_id()) << read;
    }
  }
  EXPECT_TRUE(fs.ReadersOf("d/a.txt").empty() && fs.ReadersOf("d/real").empty());
}

TEST_P(ScanFolderTest, FoldersAndFilesThatCantBeOpened) {
  Tree({"d/closed/c.bin", "d/a.bin", "d/z.bin"});
  fs.Find("d/closed")->readable = fs.Find("d/a.bin")->readable = false;
  settings.testMode = true;  // with a worker, the closed folder is listed ahead too
  // Neither stops the scan.
  const std::string a = Native("d/a.bin");
  EXPECT_EQ(Scan("d", false), "[Apply] " + a + "\nReading File: " + a + "\n [ERROR] Can't open file: " + a +
                                  "\n\n [ERROR] Can't open folder: " + Native("d/closed") + "\n\n" +
                                  Applied("d/z.bin", "d/z.md5"));
}

// x.b.binin's output is x.bin.md5 (the tag removed once leaves another), an input still to come.
TEST_P(ScanFolderTest, NoOutputReplacesAnInputOfTheScan) {
  Tree({"t/x.b.binin", "t/x.bin.md5"});
  const std::string first = Native("t/x.b.binin");
  EXPECT_EQ(Scan("t", false), "[Apply] " + first + "\nReading File: " + first +
                                  "\nConverting...\n [ERROR] Output would overwrite its input: " +
                                  Native("t/x.bin.md5") + "\n\n" + Applied("t/x.bin.md5", "t/x.md5.md5"));
}

// Files staged by a writer, and files this run has written (in an output folder inside the tree), are passed over
// without a word; names merely like staged ones are not.
TEST_P(ScanFolderTest, PassesOverStagedAndOwnOutputs) {
  settings.scanTag = ".tmp";
  settings.outputFolder = Native("d/zz");
  Tree({"d/.hexloom-12-.tmp", "d/.hexloom-12-3.tmp", "d/.hexloom-12.tmp", "d/.hexloom-1x-3.tmp", "d/a.tmp", "d/zz/"});
  EXPECT_EQ(Scan("d"), Applied("d/.hexloom-12-.tmp", "d/zz/.hexloom-12-.md5") +
                           Applied("d/.hexloom-12.tmp", "d/zz/.hexloom-12.md5") +
                           Applied("d/.hexloom-1x-3.tmp", "d/zz/.hexloom-1x-3.md5") + Applied("d/a.tmp", "d/zz/a.md5"));
}

// Test mode foresees d/b/x.md5 as a/x.bin's output, so the folder b, listed before that, is planned again.
TEST_P(ScanFolderTest, PassesOverOutputsForeseenInTestMode) {
  settings.testMode = true;
  settings.outputFolder = Native("d/b");
  Tree({"d/a/x.bin", "d/b/x.md5"});
  EXPECT_EQ(Scan("d"), Applied("d/a/x.bin", "d/b/x.md5"));
}

// Outputs that the folder's listing holds are looked at, the others need no look: a.md5 holds a.bin's checksum.
TEST_P(ScanFolderTest, SeesTheOutputsTheFolderHolds) {
  settings.testMode = true;
  Tree({"d/a.bin", "d/b.bin", "d/c.bin"});
  fs.Add("d/a.md5", "899409defb7056faaf35e61ffff472fb");
  fs.Add("d/b.md5", "other");
  const std::string same = "[Apply] " + Native("d/a.bin") + "\nReading File: " + Native("d/a.bin") +
                           "\nConverting...\nNo overwrite, same data for : " + Native("d/a.md5") + "\n\n";
  EXPECT_EQ(Scan("d"), same + Skipped("d/a.md5") + Applied("d/b.bin", "d/b.md5") + Skipped("d/b.md5") +
                           Applied("d/c.bin", "d/c.md5"));
}

// A name that matches a pattern is passed over without a word, and a folder with everything below it.
TEST_P(ScanFolderTest, PassesOverExcludedNames) {
  settings.excludePatterns = {"node_modules", "*.o.bin", "[.]?*"};
  Tree({"d/node_modules/m.bin", "d/x/node_modules/n.bin", "d/x/node_modules.bin", "d/a.o.bin", "d/a.bin",
        "d/.DS_Store.bin", "d/.bin"});
  EXPECT_EQ(Scan("d"), Applied("d/a.bin", "d/a.md5") + Applied("d/x/node_modules.bin", "d/x/node_modules.md5"));
}

INSTANTIATE_TEST_SUITE_P(Threads, ScanFolderTest,
                         testing::Values(Threads{3, 0}, Threads{3, 1}, Threads{3, 3}, Threads{1, 1}));

}  // namespace
