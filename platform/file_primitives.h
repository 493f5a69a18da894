// The few operations on files that each platform does its own way;
// file_access.cpp builds whole-file reads, comparisons and writes from them.
// Internal to the platform library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_buffer.h"
#include "platform/file_access.h"

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
inline constexpr std::string_view kFolderSeparators = "\\/";
#else
inline constexpr char kNativeSeparator = '/';
inline constexpr std::string_view kFolderSeparators = "/";
#endif

// An open file, closed when the value ends. A POSIX descriptor and a
// Windows handle both fit in a pointer-sized integer, and both use -1 for
// "none".
class FileHandle {
 public:
  static constexpr intptr_t kNone = -1;
  FileHandle() = default;
  explicit FileHandle(intptr_t native) : native_(native) {}
  FileHandle(FileHandle&& other) noexcept : native_(other.native_) { other.native_ = kNone; }
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }

  intptr_t native() const { return native_; }
  bool valid() const { return native_ != kNone; }
  // Closes now; returns whether the close succeeded (false when not open).
  bool Close();

 private:
  intptr_t native_ = kNone;
};

// Closes a native handle; returns false on failure.
bool CloseNative(intptr_t native);

// Opens an existing file for reading, waiting for a pipe's writer only when
// asked to; none on failure. A folder does not open (POSIX opens it, and
// StatusOf tells).
FileHandle OpenForReading(const char* path, PipeWait wait = PipeWait::Never);

// Opens an existing file for writing, keeping its content; none on failure.
FileHandle OpenForWriting(const std::string& path);

// Creates a file that must not exist yet; none on failure, with `taken`
// set when the name was already in use.
FileHandle CreateNewFile(const std::string& path, bool& taken);

// Opens an unnamed scratch file in the system's temporary folder, gone once
// closed; none on failure.
FileHandle OpenScratchFile();

enum class FileKind { Regular, Folder, Other };

struct FileStatus {
  FileKind kind = FileKind::Other;
  uint64_t size = 0;  // of a regular file
};

// Fills `status` for the open file; false when it can't be learned.
bool StatusOf(const FileHandle& file, FileStatus& status);

// Makes later reads of a pipe or device wait for its data.
void WaitForData(const FileHandle& file);

// Tells the system that the file will be read once, front to back, so that
// it reads ahead further; a hint, whose failure changes nothing.
void AdviseSequential(const FileHandle& file);

// Reads up to `length` bytes, stopping early at the end of the file or
// once `enough` bytes are in (the size a regular file told, which spares a
// small file the read that would only find its end); returns how many, or
// -1 on an error.
int64_t ReadFully(const FileHandle& file, unsigned char* into, size_t length, size_t enough = SIZE_MAX);

// Writes every byte; false on an error (a full disk).
bool WriteFully(const FileHandle& file, const char* bytes, size_t length);

// Waits until no other run holds the file for a rewrite in place, then
// holds it until it is closed; false when the lock can't be taken.
bool LockForRewrite(const FileHandle& file);

// Moves the file position to the start; false on failure.
bool Rewind(const FileHandle& file);

// Makes the file exactly `length` bytes long; false on failure.
bool CutAt(const FileHandle& file, uint64_t length);

// Returns how many names the file has (hard links); 0 when unknown.
uint64_t LinkCountOf(const FileHandle& file);

// Of an existing file, what a new file put in its place must get back.
struct KeptAttributes {
  uint32_t owner = 0;
  uint32_t group = 0;
  uint32_t bits = 0;  // POSIX rights and mode bits, or Windows attributes
};

enum class TargetState {
  Missing,   // the name is free and its folder exists as far as is known
  Writable,  // a regular file that is not marked read-only
  Refused,   // a folder, device, pipe or read-only file, or can't be looked at
};

// Follows symbolic links from `path` to the file a write would reach, which
// may be missing, sets `target` to it and looks at it, not following a final
// link; fills `kept` when it exists. Refused when the path can name no such
// file (a loop).
TargetState FindTarget(const char* path, std::string& target, KeptAttributes& kept);

// True when new files may be made in the folder (Windows finds out only by
// trying, and says true).
bool FolderTakesNewFiles(const std::string& folder);

// Gives the new file the owner, group and rights of the one it replaces,
// before any byte is written; false when that is not allowed.
bool TakeOverOwner(const FileHandle& fresh, const KeptAttributes& kept);

// Sets again, on the file put in place, what only the finished file can
// carry (Windows attributes); does nothing where TakeOverOwner did it all.
void RestoreAttributes(const std::string& target, const KeptAttributes& kept);

// Renames `from` over `to`, replacing it; false on failure.
bool MoveOver(const std::string& from, const std::string& to);

// Deletes the file, ignoring failures.
void RemoveFile(const std::string& path);

// Shared by the platforms: the folder part of a path, "." when it has none;
// the root keeps its separator.
std::string FolderOf(const std::string& path);

// Returns this process's number, which keeps temporary names apart.
uint64_t ProcessNumber();
