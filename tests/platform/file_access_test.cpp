#include "platform/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <tuple>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace {

// Every byte value, line ends and end-of-file marks among them, in a text long enough to be made on a second thread, in
// one made in several pieces, in one piece, and empty, each written over the one before.
TEST(FileAccess, WrittenBytesReadAndCompareUnchanged) {
  ScratchFolder folder;
  const std::string path = folder / "t";
  std::string bytes = std::string("a\r\nb\x1a\0c\xff", 8) + std::string(5 << 20, '\0');
  for (size_t i = 8; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>(i * 7 + (i >> 12));
  for (const std::string& text : {bytes, bytes.substr(0, 3 << 20), std::string("abc"), std::string()}) {
    ASSERT_EQ(WriteWholeFile(path.c_str(), text), WriteResult::Done);
    EXPECT_EQ(Slurp(path), text);
    bool ok = false;
    EXPECT_EQ(ReadBack(path, &ok), text);
    EXPECT_TRUE(ok);
    EXPECT_EQ(CompareWithFile(path.c_str(), text), FileComparison::Same);
    EXPECT_EQ(CompareWithFile(path.c_str(), text + "d"), FileComparison::Different);
    if (!text.empty()) {
      EXPECT_EQ(CompareWithFile(path.c_str(), text.substr(0, text.size() - 1) + static_cast<char>(~text.back())),
                FileComparison::Different);
    }
  }
  EXPECT_EQ(ListNames(folder.path()), std::vector<std::string>{"t"});
}

TEST(RealFileSystem, IdentitiesListingsAndWritability) {
  ScratchFolder folder;
  FileSystem& fs = RealFileSystem();
  const std::string a = folder / "a", alias = folder / Native("sub/../a"), missing = folder / "missing";
  Spill(a, "x");
  Spill(folder / "b", "x");
  std::filesystem::create_directory(folder / "sub");
  EXPECT_EQ(fs.IdentityOf(a), fs.IdentityOf(alias));
  EXPECT_NE(fs.IdentityOf(a), fs.IdentityOf(folder / "b"));
  EXPECT_EQ(fs.CanonicalPath(alias), fs.CanonicalPath(a));
  ByteBuffer buffer;
  EXPECT_EQ(fs.ReadWholeFile(a, PipeWait::Never, buffer), ReadResult::Done);
  for (const std::string& path : {folder / "sub", missing}) {
    EXPECT_EQ(fs.ReadWholeFile(path, PipeWait::Never, buffer), ReadResult::CantOpen);
    EXPECT_EQ(CompareWithFile(path.c_str(), ""), FileComparison::Absent);
  }
  EXPECT_FALSE(fs.IdentityOf(missing));
  EXPECT_FALSE(fs.CanonicalPath(missing));
  std::vector<FolderEntry> entries;
  EXPECT_FALSE(fs.ListFolder(missing, entries));
  ASSERT_TRUE(fs.ListFolder(folder.path(), entries));
  std::ranges::sort(entries, {}, &FolderEntry::name);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(std::tie(entries[0].kind, entries[2].name, entries[2].kind, entries[2].isLink),
            std::make_tuple(EntryKind::File, "sub", EntryKind::Folder, false));
  // The same decision a write takes first.
  const std::pair<const char*, bool> writable[] = {
      {"a", true}, {"new", true}, {"missing/new", false}, {"sub", false}, {"a/x", false}};
  for (const auto& [name, can] : writable)
    EXPECT_EQ(fs.CanWrite(folder / Native(name)), can) << name;
}

// A large content is made on a second thread: what fails on either thread reaches the caller, never std::terminate.
TEST(FileAccess, AFailureOnEitherThreadOfALargeContentReachesTheCaller) {
  int made = 0;
  ContentPieces content{.size = 64 << 20,
                        .next = [&](char* out, size_t capacity) -> size_t {
                          if (++made > 2)
                            throw std::bad_alloc();
                          std::memset(out, 'a', capacity);
                          return capacity;
                        },
                        .rewind = [&] { made = 0; }};
  EXPECT_THROW(ForEachPiece(content, [](const char*, size_t) { return true; }), std::bad_alloc);
  EXPECT_THROW(ForEachPiece(content, [](const char*, size_t) -> bool { throw std::bad_alloc(); }), std::bad_alloc);
}

}  // namespace
