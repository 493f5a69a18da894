// Whole-file access to the local file system. Every function answers with
// a result; reporting a failure to the user is the caller's business, apart
// from the check messages of unexpected failures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/byte_buffer.h"

// True when a file (not a folder) of that name can be opened for reading.
bool FileExists(const char* path);

// Whether opening a pipe waits for its writer, as `cat` does, or finds it
// empty at once, so that probing a path can never hang the run.
enum class PipeWait { Never, ForWriter };

// Fills `output` with every byte of the file, read to its end whatever size
// the file reports (the size only guides the buffer and the choice of a
// mapping); false when it can't be opened or read whole (output is then not
// to be relied on). Throws std::bad_alloc when the file can't be held in
// memory.
bool ReadWholeFile(const char* path, ByteBuffer& output, PipeWait wait = PipeWait::Never);

enum class ReadResult {
  Done,      // every byte of the file was read
  CantOpen,  // missing, unreadable, a folder, or not read whole
  TooLarge,  // the file can't be held in memory
  CantRead,  // the file opened but failed part way
};

// Receives the bytes of a file block after block; false stops the reading.
using BlockConsumer = std::function<bool(const unsigned char* block, size_t length)>;

// Hands every byte of the file (or pipe, or device) to `consume` in blocks,
// in order, until its end; memory stays the same whatever the length, and a
// reading that never ends runs until the process is stopped. Done also when
// `consume` stopped it.
ReadResult ReadFileInBlocks(const char* path, PipeWait wait, const BlockConsumer& consume);

// Content produced front to back: `size` bytes in all, handed out by
// `next` in pieces (at most `capacity`, 0 at the end); `rewind` starts it
// again.
struct ContentPieces {
  uint64_t size = 0;
  std::function<size_t(char* out, size_t capacity)> next;
  std::function<void()> rewind;
};

// Returns pieces that hand out the text; the text must outlive them.
ContentPieces PiecesOf(std::string_view text);

// Hands every piece of the content, in order, to `consume` until it returns
// false; returns whether all were consumed. Rewinds the content first.
bool ForEachPiece(ContentPieces& content, const std::function<bool(const char*, size_t)>& consume);

// Replaces the file (the one a symbolic link leads to) by exactly the
// content, through a temporary file in the same folder that is renamed over
// it; false on any failure, which leaves an existing file byte for byte as it
// was. A file with other hard links, in a folder that may not be written, or
// whose owner a new file could not get, is rewritten in place once the whole
// content is made, and may be left damaged by a failure.
bool WriteWholeFile(const char* path, ContentPieces& content);
bool WriteWholeFile(const char* path, std::string_view content);

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
// when it doesn't exist, its folder exists and may be written.
bool CanWriteFile(const char* path);

// The machine's physical memory in bytes; texts larger than this are not
// attempted.
uint64_t PhysicalMemoryBytes();

// The memory this process may use: the least of the physical memory, the
// memory limit of its control group and its address-space limit.
uint64_t MemoryLimitBytes();

// Shared by the platforms: reads up to `length` bytes, stopping early only
// at the end of the file; returns how many, or -1 on an error.
using FileReader = std::function<int64_t(unsigned char* into, size_t length)>;

// Fills `output` from a file, pipe or device until its end, starting with
// room for `sizeHint` bytes; false on a read error. Throws std::bad_alloc
// rather than hold more than a quarter of MemoryLimitBytes() while growing.
bool ReadUntilEnd(const FileReader& read, const char* path, ByteBuffer& output, uint64_t sizeHint = 0);

// Hands what `read` gives to `consume` in blocks until its end.
ReadResult ReadBlocksUntilEnd(const FileReader& read, const BlockConsumer& consume);

// Compares the content with what `read` gives, which must hold exactly
// content.size bytes to be the same.
FileComparison CompareWithReader(const FileReader& read, ContentPieces& content);

// Check messages of the readers and writers, shared by the platforms.
void ReportEmptyPath(const char* path);
void ReportAbsentPath();
void ReportLengthFailure(const char* path, int64_t streamLength, bool good);
void ReportShortRead(const char* path);
void ReportWriteFailure(const char* path);
