#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace {

// Every byte value, line ends and end-of-file marks among them, over
// several reads' worth.
TEST(FileAccess, BytesPassUnchanged) {
  ScratchFolder folder;
  std::string bytes = std::string("a\r\nb\x1a\0c\xff", 8) + std::string(3 << 20, '\0');
  for (size_t i = 8; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>(i * 7 + (i >> 12));
  ASSERT_TRUE(WriteWholeFile((folder / "bytes").c_str(), bytes));
  EXPECT_EQ(Slurp(folder / "bytes"), bytes);
  bool ok = false;
  EXPECT_EQ(ReadBack(folder / "bytes", &ok), bytes);
  EXPECT_TRUE(ok);
}

TEST(FileAccess, EmptyFiles) {
  ScratchFolder folder;
  Spill(folder / "empty", "");
  EXPECT_TRUE(FileExists((folder / "empty").c_str()));
  bool ok = false;
  EXPECT_EQ(ReadBack(folder / "empty", &ok), "");
  EXPECT_TRUE(ok);
  Spill(folder / "long", "a longer text");
  EXPECT_TRUE(WriteWholeFile((folder / "long").c_str(), ""));
  EXPECT_EQ(Slurp(folder / "long"), "");
  EXPECT_TRUE(WriteWholeFile((folder / "long").c_str(), "xy"));
  EXPECT_EQ(Slurp(folder / "long"), "xy");
}

TEST(FileAccess, FoldersAndMissingFilesAreNotFiles) {
  ScratchFolder folder;
  EXPECT_FALSE(FileExists(folder.path().c_str()));
  EXPECT_FALSE(FileExists((folder / "missing").c_str()));
  bool ok = true;
  ReadBack(folder.path(), &ok);
  EXPECT_FALSE(ok);
  ReadBack(folder / "missing", &ok);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(WriteWholeFile(folder.path().c_str(), "x"));
  EXPECT_FALSE(WriteWholeFile((folder / Native("missing/x")).c_str(), "x"));
}

TEST(FileAccess, ReplacingLeavesNoTemporaryFile) {
  ScratchFolder folder;
  Spill(folder / "t", "old");
  EXPECT_TRUE(WriteWholeFile((folder / "t").c_str(), "new"));
  EXPECT_EQ(Slurp(folder / "t"), "new");
  int names = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    names += entry.path().filename() == "t" ? 1 : 100;
  EXPECT_EQ(names, 1);
}

TEST(FileAccess, Comparison) {
  ScratchFolder folder;
  const std::string path = folder / "c";
  EXPECT_EQ(CompareWithFile(path.c_str(), "abc"), FileComparison::Absent);
  Spill(path, "abc");
  EXPECT_EQ(CompareWithFile(path.c_str(), "abc"), FileComparison::Same);
  EXPECT_EQ(CompareWithFile(path.c_str(), "abd"), FileComparison::Different);
  EXPECT_EQ(CompareWithFile(path.c_str(), "abcd"), FileComparison::Different);
  EXPECT_EQ(CompareWithFile(folder.path().c_str(), ""), FileComparison::Absent);
  std::string big(5 << 20, 'b');
  Spill(path, big);
  EXPECT_EQ(CompareWithFile(path.c_str(), big), FileComparison::Same);
  big.back() = 'c';
  EXPECT_EQ(CompareWithFile(path.c_str(), big), FileComparison::Different);
}

TEST(RealFileSystem, IdentitiesListingsAndWritability) {
  ScratchFolder folder;
  FileSystem& fs = RealFileSystem();
  Spill(folder / "a", "x");
  Spill(folder / "b", "x");
  std::filesystem::create_directory(folder / "sub");
  EXPECT_EQ(fs.IdentityOf(folder / "a"), fs.IdentityOf(folder / Native("sub/../a")));
  EXPECT_NE(fs.IdentityOf(folder / "a"), fs.IdentityOf(folder / "b"));
  EXPECT_FALSE(fs.IdentityOf(folder / "missing"));
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(fs.ListFolder(folder.path(), entries));
  std::sort(entries.begin(), entries.end(), [](auto& x, auto& y) { return x.name < y.name; });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].kind, EntryKind::File);
  EXPECT_EQ(entries[2].name, "sub");
  EXPECT_EQ(entries[2].kind, EntryKind::Folder);
  EXPECT_FALSE(entries[2].isLink);
  EXPECT_FALSE(fs.ListFolder(folder / "missing", entries));
  EXPECT_TRUE(fs.CanWrite(folder / "a"));
  EXPECT_TRUE(fs.CanWrite(folder / "new"));
  EXPECT_FALSE(fs.CanWrite(folder / Native("missing/new")));
  EXPECT_FALSE(fs.CanWrite(folder / "sub"));
  EXPECT_FALSE(fs.CanWrite(folder / Native("a/x")));
  EXPECT_EQ(fs.CanonicalPath(folder / Native("sub/../a")), fs.CanonicalPath(folder / "a"));
  EXPECT_FALSE(fs.CanonicalPath(folder / "missing"));
  ByteBuffer buffer;
  EXPECT_EQ(fs.ReadWholeFile(folder / "a", buffer), ReadResult::Done);
  EXPECT_EQ(fs.ReadWholeFile(folder / "sub", buffer), ReadResult::CantOpen);
}

}  // namespace
