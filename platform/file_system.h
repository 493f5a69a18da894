// The file system as the conversions see it: a small interface, and the
// platform's own implementation of it.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/byte_buffer.h"
#include "platform/file_access.h"

// The identity of a file or folder on its device: two paths with the same
// identity name the same file (hard links and symbolic links included).
struct FileId {
  uint64_t device = 0;
  uint64_t index = 0;
  auto operator<=>(const FileId&) const = default;
};

// What a folder entry is, after following a link.
enum class EntryKind {
  File,    // a regular file
  Folder,  // a folder
  Other,   // a pipe, socket, device, or a link that leads nowhere
};

struct FolderEntry {
  std::string name;
  EntryKind kind = EntryKind::File;
  bool isLink = false;  // a symbolic link (or, on Windows, any reparse point)
  // What the listing learned of the file the entry leads to, so that a scan
  // need not ask again; none where the platform doesn't tell.
  std::optional<FileId> id;
  std::optional<uint64_t> size;  // of a regular file
};

// What a write to a path would meet.
struct TargetLook {
  std::optional<FileId> existing;  // the file the path leads to now
  bool writable = false;           // when there is none (and it was asked): whether a file could be stored
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Fills `output` with every byte of the file, or of a pipe or device to
  // its end; otherwise says why.
  virtual ReadResult ReadWholeFile(const std::string& path, PipeWait wait, ByteBuffer& output) = 0;

  // Hands every byte of the file, or of a pipe or device to its end, to
  // `consume` in blocks, holding no more than a block at a time.
  virtual ReadResult ReadInBlocks(const std::string& path, PipeWait wait, const BlockConsumer& consume) = 0;

  // Compares the content with the file at `path`, piece by piece.
  virtual FileComparison CompareWithFile(const std::string& path, ContentPieces& content) = 0;

  // Replaces the file by exactly the content; otherwise says why and leaves
  // an existing file as it was.
  virtual WriteResult WriteWholeFile(const std::string& path, ContentPieces& content) = 0;

  // True when WriteWholeFile could store a file at `path`: its folder exists
  // and the file (or, for a new file, its folder) may be written.
  virtual bool CanWrite(const std::string& path) = 0;

  // The identity of the file or folder that `path` leads to; none when it
  // doesn't exist.
  virtual std::optional<FileId> IdentityOf(const std::string& path) = 0;

  // What a write to `path` would meet: the identity of what the path leads
  // to (as IdentityOf) and, when none and `askWritable`, whether a file
  // could be stored there (as CanWrite); in one look where it can be.
  virtual TargetLook LookAtTarget(const std::string& path, bool askWritable) {
    const std::optional<FileId> existing = IdentityOf(path);
    return {existing, !existing && askWritable && CanWrite(path)};
  }

  // What a write to `path` would meet when its folder was listed without it:
  // nothing, and when `askWritable`, whether a new file could be stored
  // there (as CanWrite).
  virtual TargetLook LookAtNewTarget(const std::string& path, bool askWritable) {
    return {std::nullopt, askWritable && CanWrite(path)};
  }

  // Lists the folder's entries ("." and ".." left out) in no set order;
  // false when the folder can't be opened.
  virtual bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) = 0;

  // The size in bytes of the file that `path` leads to; none when it can't
  // be found.
  virtual std::optional<uint64_t> SizeOf(const std::string& path) = 0;

  // The absolute path that `path` leads to with every link resolved; none
  // when it doesn't exist.
  virtual std::optional<std::string> CanonicalPath(const std::string& path) = 0;
};

// Returns the platform's own file system.
FileSystem& RealFileSystem();
