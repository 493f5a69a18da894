// A file system held in memory, for tests of everything that reads, writes
// and lists files. Paths may use "/" or "\\"; "" and "." name the folder
// that every relative path starts in, and it always exists.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

class MemoryFileSystem final : public FileSystem {
 public:
  // Adds (or replaces) a regular file holding `bytes`; its folders must exist.
  void AddFile(const std::string& path, std::string bytes);
  // Adds a folder, and the folders above it that are missing.
  void AddFolder(const std::string& path);
  // Adds a symbolic link to `target` (a path of this file system).
  void AddLink(const std::string& path, const std::string& target);
  // Adds a second name for an existing file.
  void AddHardLink(const std::string& path, const std::string& existing);
  // Adds a pipe, socket or device that reads as `bytes`.
  void AddSpecial(const std::string& path, std::string bytes = {});
  // Makes what `path` leads to refuse writes (or reads) from now on.
  void SetWritable(const std::string& path, bool writable);
  void SetReadable(const std::string& path, bool readable);
  // Makes reads of the file report that it can't be held in memory.
  void SetTooLarge(const std::string& path);
  // Makes reads of the file fail after its first `bytes`.
  void SetFailsAfter(const std::string& path, size_t bytes);

  // Returns the bytes of the file that `path` leads to; none when missing.
  std::optional<std::string> Contents(const std::string& path) const;
  // Returns how many times the file that `path` leads to was written.
  int WriteCount(const std::string& path) const;
  // Returns every path that holds something, links included, sorted.
  std::vector<std::string> Paths() const;

  ReadResult ReadWholeFile(const std::string& path, PipeWait wait, ByteBuffer& output) override;
  ReadResult ReadInBlocks(const std::string& path, PipeWait wait, const BlockConsumer& consume) override;
  FileComparison CompareWithFile(const std::string& path, ContentPieces& content) override;
  bool WriteWholeFile(const std::string& path, ContentPieces& content) override;
  bool CanWrite(const std::string& path) override;
  std::optional<FileId> IdentityOf(const std::string& path) override;
  bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) override;
  std::optional<uint64_t> SizeOf(const std::string& path) override;
  std::optional<std::string> CanonicalPath(const std::string& path) override;

 private:
  enum class Kind { File, Folder, Link, Special };
  struct Node {
    Kind kind = Kind::File;
    std::string bytes;  // a file's content, or a link's target
    bool writable = true;
    bool readable = true;
    bool tooLarge = false;
    std::optional<size_t> failsAfter;
    int writes = 0;
    uint64_t id = 0;
  };

  std::shared_ptr<Node> Add(const std::string& path, Kind kind, std::string bytes);
  // The path with every link along it followed; none past a link cycle.
  std::optional<std::string> Resolve(const std::string& path) const;
  std::shared_ptr<Node> Find(const std::string& path) const;
  bool FolderWritable(const std::string& resolved) const;

  // Conversions may be prepared on several threads at once.
  mutable std::recursive_mutex lock_;
  std::map<std::string, std::shared_ptr<Node>> nodes_;
  uint64_t nextId_ = 1;
};
