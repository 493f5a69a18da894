// A file system held in memory, for tests of everything that reads, writes and lists files. Paths may use "/" or
// "\\"; "" and "." name the folder that every relative path starts in, and it always exists. A test sets the files up
// first; the code under test may then use it from several threads.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"

class MemoryFileSystem final : public FileSystem {
 public:
  enum class Kind { File, Folder, Link };
  // What a path holds; a test clears a flag to make it refuse reads or writes.
  struct Node {
    Kind kind = Kind::File;
    std::string bytes;  // a file's content, or a link's target (a path of this file system)
    bool writable = true, readable = true;
  };

  MemoryFileSystem() { Add("", {}, Kind::Folder), Add("/", {}, Kind::Folder); }
  // Adds a node in place of anything at `path`, and the folders above it that are missing; returns it.
  Node& Add(const std::string& path, std::string bytes = {}, Kind kind = Kind::File);
  // Adds a folder unless something is at `path` already; returns what is there.
  Node& AddFolder(const std::string& path) {
    return nodes_.count(Normal(path)) ? *nodes_[Normal(path)] : Add(path, {}, Kind::Folder);
  }
  // Adds a second name for an existing file.
  void AddHardLink(const std::string& path, const std::string& existing) { nodes_[Normal(path)] = Find(existing); }
  // What `path` leads to, every link followed; null when nothing.
  std::shared_ptr<Node> Find(const std::string& path) const;
  // The threads that read `path` (as the reader named it), one per read, in order.
  std::vector<std::thread::id> ReadersOf(const std::string& path) const {
    std::lock_guard guard(lock_);
    const auto found = readers_.find(Normal(path));
    return found == readers_.end() ? std::vector<std::thread::id>{} : found->second;
  }
  // Returns the bytes of the file that `path` leads to; none when missing.
  std::optional<std::string> Contents(const std::string& path) const;

  ReadResult ReadWholeFile(const std::string& path, PipeWait wait, ByteBuffer& output) override;
  ReadResult ReadInBlocks(const std::string& path, PipeWait wait, const BlockConsumer& consume) override;
  FileComparison CompareWithFile(const std::string& path, ContentPieces& content) override;
  WriteResult WriteWholeFile(const std::string& path, ContentPieces& content) override;
  bool CanWrite(const std::string& path) override;
  std::optional<FileId> IdentityOf(const std::string& path) override;
  bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) override;
  std::optional<uint64_t> SizeOf(const std::string& path) override;
  std::optional<std::string> CanonicalPath(const std::string& path) override;

 private:
  // One spelling per path: "/" separators, no "." or doubled or trailing separator.
  static std::string Normal(std::string path);
  // The path with every link along it followed; none past a link cycle.
  std::optional<std::string> Resolve(const std::string& path, int depth = 0) const;
  // What the path leads to unless a folder; null when nothing.
  std::shared_ptr<Node> FindFile(const std::string& path) const;

  // Conversions may be prepared on several threads at once.
  mutable std::recursive_mutex lock_;
  std::map<std::string, std::shared_ptr<Node>> nodes_;
  std::map<std::string, std::vector<std::thread::id>> readers_;
};
