// Whole-file access to the local file system. Every function answers with
// a result and prints nothing; reporting a failure is the caller's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/byte_buffer.h"

// True when a file (not a folder) of that name can be opened for reading.
bool FileExists(const char* path);

// How a read of a whole file ended.
enum class ReadResult {
  Done,           // every byte of the file is in the buffer
  CantOpen,       // missing, unreadable or a folder
  UnknownLength,  // opened, but its length could not be learned
  ShortRead,      // opened, but a read failed before its end
  TooLarge,       // the file can't be held in memory
  Shrunk,         // the file was cut short by another program while it was read
};

// Whether opening a pipe waits for its writer, as `cat` does, or finds it
// empty at once, so that probing a path can never hang the run.
enum class PipeWait { Never, ForWriter };

// Fills `output` with every byte of the file, or of a pipe or device to its
// end; a regular file is read to its end whatever size it reports (the size
// only guides the buffer and the choice of a mapping). On any other result
// the output is not to be relied on.
ReadResult ReadWholeFile(const char* path, ByteBuffer& output, PipeWait wait = PipeWait::Never);

// Receives the bytes of a file block after block; false stops the reading.
using BlockConsumer = std::function<bool(const unsigned char* block, size_t length)>;

// Hands every byte of the file (or pipe, or device) to `consume` in blocks,
// in order, until its end, holding one block at a time whatever the length;
// a reading that never ends runs until the process is stopped. Done also
// when `consume` stopped it; ShortRead when a read failed part way.
ReadResult ReadFileInBlocks(const char* path, PipeWait wait, const BlockConsumer& consume);

// Content produced front to back: `size` bytes in all, handed out by
// `next` in pieces (at most `capacity`, 0 at the end); `rewind` starts it
// again. A text already whole is `whole` instead, with no `next`.
struct ContentPieces {
  uint64_t size = 0;
  std::function<size_t(char* out, size_t capacity)> next;
  std::function<void()> rewind;
  std::string_view whole = {};
};

// Returns pieces that hand out the text; the text must outlive them.
ContentPieces PiecesOf(std::string_view text);

// Returns the pieces that `text` makes one after the other (its size(), Next(out, capacity) and Rewind()); the text
// must outlive them.
template <class Text>
ContentPieces PiecesMadeBy(Text& text) {
  ContentPieces pieces;
  pieces.size = text.size();
  pieces.next = [&text](char* out, size_t capacity) { return text.Next(out, capacity); };
  pieces.rewind = [&text] { text.Rewind(); };
  return pieces;
}

// Hands every piece of the content, in order, to `consume` until it returns
// false; returns whether all were consumed. Rewinds the content first.
bool ForEachPiece(ContentPieces& content, const std::function<bool(const char*, size_t)>& consume);

// How a write of a whole file ended.
enum class WriteResult {
  Done,        // the file holds exactly the content
  Refused,     // the file could not be made, opened or put in place
  ShortWrite,  // the content could not be written whole (a full disk)
};

// Which folders take new files, asked of the system once a folder: a tree
// of small files would otherwise ask it once a file. Shared by threads; a
// folder's answer holds for the run.
class WritableFolders {
 public:
  // True when new files may be made in the folder.
  bool TakeNewFiles(const std::string& folder);

 private:
  std::mutex lock_;
  std::unordered_map<std::string, bool> known_;
};

// Replaces the file (the one a symbolic link leads to) by exactly the
// content, through a temporary file in the same folder that is renamed over
// it; a failure leaves an existing file byte for byte as it was. A file with
// other hard links, in a folder that may not be written, or whose owner a
// new file could not get, is rewritten in place once the whole content is
// made, and may be left damaged by a failure. With `folders`, a folder's
// write access is asked once.
WriteResult WriteWholeFile(const char* path, ContentPieces& content, WritableFolders* folders = nullptr);
WriteResult WriteWholeFile(const char* path, std::string_view content);

// True when the name is one that WriteWholeFile gives its temporary files
// (".hexloom-<process>-<number>.tmp"), in this run or another.
bool IsTemporaryName(std::string_view name);

enum class FileComparison {
  Absent,      // no readable file of that name
  Same,        // the file holds exactly the content
  Different,   // the file exists and holds something else
  Unreadable,  // the file opened but could not be read whole
};

// Compares the content with the file at `path` piece by piece, without
// holding either whole in memory.
FileComparison CompareWithFile(const char* path, ContentPieces& content);
FileComparison CompareWithFile(const char* path, std::string_view content);

// True when a write to `path` could succeed: the file may be written or,
// when it doesn't exist, its folder exists and may be written. With
// `folders`, a folder's write access is asked once.
bool CanWriteFile(const char* path, WritableFolders* folders = nullptr);

// The machine's physical memory in bytes; texts larger than this are not
// attempted.
uint64_t PhysicalMemoryBytes();

// The memory this process may use: the least of the physical memory, the
// memory limit of its control group and its address-space limit.
uint64_t MemoryLimitBytes();
