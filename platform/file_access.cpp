#include "platform/file_access.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/file_primitives.h"
#include "platform/interrupt.h"

namespace {

constexpr size_t kPieceCapacity = 1 << 20;

// Bytes read at a time when a file is handed out in blocks. A block that
// stays in the second-level cache (of every current CPU) is still there when
// the digest reads it; a larger one is copied out of the page cache,
// evicted, and fetched from memory again.
constexpr size_t kReadBlockBytes = 128 << 10;
// A file this small is read into a block on the stack.
constexpr size_t kSmallBlockBytes = 4 << 10;

// How the temporary files of a write are named, between the process number
// and a counter: a folder scan knows them by it.
constexpr std::string_view kTemporaryPrefix = ".hexloom-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// Hands the pieces to `consume` on this thread, one made after the other.
bool ForEachPieceInTurn(ContentPieces& content, const std::function<bool(const char*, size_t)>& consume) {
  // Left uninitialised: clearing room that a small text never fills would
  // cost more than making the text.
  const size_t capacity = static_cast<size_t>(std::min<uint64_t>(content.size, kPieceCapacity)) + (64 << 10);
  const std::unique_ptr<char[]> piece(new char[capacity]);
  while (size_t length = content.next(piece.get(), capacity)) {
    if (!consume(piece.get(), length))
      return false;
  }
  return true;
}

// Large contents are made on a second thread while this one writes or
// compares the pieces made before, so that making the text and moving it
// to the disk overlap.
bool ForEachPieceAhead(ContentPieces& content, const std::function<bool(const char*, size_t)>& consume) {
  constexpr int kSlots = 4;
  struct Slot {
    std::unique_ptr<char[]> bytes{new char[kPieceCapacity]};
    size_t length = 0;
    bool full = false;
  } slots[kSlots];
  std::mutex lock;
  std::condition_variable changed;
  bool stop = false;

  // Whatever fails on either thread (memory, most likely) is rethrown here
  // once both have stopped: a thread left running would end the process.
  std::exception_ptr failure;

  const auto make = [&] {
    try {
      for (int i = 0;; i = (i + 1) % kSlots) {
        {
          std::unique_lock<std::mutex> guard(lock);
          changed.wait(guard, [&] { return !slots[i].full || stop; });
          if (stop)
            return;
        }
        size_t length = content.next(slots[i].bytes.get(), kPieceCapacity);
        {
          std::lock_guard<std::mutex> guard(lock);
          slots[i].length = length;
          slots[i].full = true;
        }
        changed.notify_all();
        if (length == 0)
          return;
      }
    } catch (...) {
      std::lock_guard<std::mutex> guard(lock);
      failure = std::current_exception();
    }
    changed.notify_all();
  };
  // A thread that can't be started (too many threads, too little memory)
  // leaves the making to this one.
  std::thread maker;
  try {
    maker = std::thread(make);
  } catch (const std::exception&) {
    return ForEachPieceInTurn(content, consume);
  }

  bool consumedAll = true;
  try {
    for (int i = 0;; i = (i + 1) % kSlots) {
      {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [&] { return slots[i].full || failure; });
        if (!slots[i].full)
          break;
      }
      if (slots[i].length == 0)
        break;
      if (!consume(slots[i].bytes.get(), slots[i].length)) {
        consumedAll = false;
        break;
      }
      {
        std::lock_guard<std::mutex> guard(lock);
        slots[i].full = false;
      }
      changed.notify_all();
    }
  } catch (...) {
    std::lock_guard<std::mutex> guard(lock);
    if (!failure)
      failure = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> guard(lock);
    stop = true;
  }
  changed.notify_all();
  maker.join();
  if (failure)
    std::rethrow_exception(failure);
  return consumedAll;
}

}  // namespace

ContentPieces PiecesOf(std::string_view text) {
  // Handed out as one piece, with nothing allocated or copied: a checksum
  // is stored for each file of a tree.
  return ContentPieces{.size = text.size(), .next = {}, .rewind = {}, .whole = text};
}

bool ForEachPiece(ContentPieces& content, const std::function<bool(const char*, size_t)>& consume) {
  if (!content.next)
    return content.whole.empty() || consume(content.whole.data(), content.whole.size());
  content.rewind();
  if (content.size > 4 * kPieceCapacity)
    return ForEachPieceAhead(content, consume);
  return ForEachPieceInTurn(content, consume);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    native_ = other.native_;
    other.native_ = kNone;
  }
  return *this;
}

bool FileHandle::Close() {
  if (!valid())
    return false;
  const intptr_t native = native_;
  native_ = kNone;
  return CloseNative(native);
}

namespace {

// Bytes moved at a time when a pipe is read or a staged text is copied over
// its target.
constexpr size_t kCopyChunk = 1 << 16;

// Temporary names tried beside a target before a write gives up.
constexpr int kTemporaryAttempts = 100;

// Fills `output` from a file, pipe or device until its end, starting with
// room for `sizeHint` bytes (a chunk when no size is known). Throws
// std::bad_alloc rather than hold more than a quarter of the memory the
// process may use.
ReadResult ReadUntilEnd(const FileHandle& file, ByteBuffer& output, uint64_t sizeHint) {
  // One byte past the reported size, so that the end is seen at once when
  // the size told the truth.
  uint64_t capacity = sizeHint != 0 ? sizeHint + 1 : kCopyChunk;
  if (capacity > SIZE_MAX)
    throw std::bad_alloc();
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[capacity]);
  uint64_t length = 0;
  for (;;) {
    if (length == capacity) {
      // A stream that never ends (a device) stops well before it crowds out
      // the process. While the buffer grows the old and the new one are both
      // held: together they stay within the limit. The limit is learned only
      // here, since most files tell their size.
      const uint64_t limit = MemoryLimitBytes() / 4;
      const uint64_t wanted = std::max<uint64_t>(2 * capacity, kCopyChunk);
      const uint64_t grown = std::min(wanted, limit > capacity ? limit - capacity : 0);
      if (grown <= capacity)
        throw std::bad_alloc();
      std::unique_ptr<unsigned char[]> larger(new unsigned char[grown]);
      std::memcpy(larger.get(), bytes.get(), length);
      bytes = std::move(larger);
      capacity = grown;
    }
    const size_t room = static_cast<size_t>(capacity - length);
    const size_t enough = sizeHint > length ? static_cast<size_t>(sizeHint - length) : SIZE_MAX;
    const int64_t got = ReadFully(file, bytes.get() + length, room, enough);
    if (got < 0)
      return ReadResult::ShortRead;
    length += static_cast<uint64_t>(got);
    // Room left over means the end was met.
    if (static_cast<size_t>(got) < room)
      break;
  }
  output.Adopt(std::move(bytes), static_cast<size_t>(length));
  return ReadResult::Done;
}

// Compares the content with what the file holds from its position on,
// which must be exactly content.size bytes to be the same.
FileComparison CompareWithOpenFile(const FileHandle& file, ContentPieces& content) {
  std::vector<unsigned char> chunk;
  bool unreadable = false;
  bool same = ForEachPiece(content, [&](const char* piece, size_t length) {
    chunk.resize(length);
    int64_t got = ReadFully(file, chunk.data(), length);
    if (got < 0)
      unreadable = true;
    return got == static_cast<int64_t>(length) && std::memcmp(chunk.data(), piece, length) == 0;
  });
  if (unreadable)
    return FileComparison::Unreadable;
  // A file that grew since it was measured holds more than the content.
  unsigned char extra;
  if (same && ReadFully(file, &extra, 1) != 0)
    return FileComparison::Different;
  return same ? FileComparison::Same : FileComparison::Different;
}

enum class WriteWay {
  Impossible,  // the write would fail
  Replace,     // a new file in the target's folder is renamed over it
  InPlace,     // the existing file itself is rewritten
};

struct WritePlan {
  WriteWay way = WriteWay::Impossible;
  std::string target;  // the file written, symbolic links followed
  bool exists = false;
  KeptAttributes kept;  // the existing target's
};

// Decides how a write to `path` goes, without changing anything.
WritePlan PlanWrite(const char* path, WritableFolders* folders) {
  WritePlan plan;
  if (!path)
    return plan;
  const TargetState state = FindTarget(path, plan.target, plan.kept);
  if (state == TargetState::Refused)
    return plan;
  const std::string folder = FolderOf(plan.target);
  const bool folderWritable = folders ? folders->TakeNewFiles(folder) : FolderTakesNewFiles(folder);
  switch (state) {
    case TargetState::Missing:
      if (folderWritable)
        plan.way = WriteWay::Replace;
      return plan;
    case TargetState::Refused: return plan;
    case TargetState::Writable: break;
  }
  plan.exists = true;
  FileHandle probe = OpenForWriting(plan.target);
  if (!probe.valid())
    return plan;
  // A new file would cut the other hard links off, or could not be made.
  // (One that can't get the old owner and group is found out when made.)
  const uint64_t links = LinkCountOf(probe);
  if (links == 0)
    return plan;
  plan.way = folderWritable && links == 1 ? WriteWay::Replace : WriteWay::InPlace;
  return plan;
}

// The whole text is made before the target is opened, since making it may
// fail; the old bytes are then overwritten front to back and the file cut
// to the new length last, so that what is left of the old text survives
// longest. A failure part way leaves a damaged target: no other way keeps
// the file's links, owner or place.
WriteResult RewriteInPlace(const std::string& target, ContentPieces& content) {
  FileHandle staged = OpenScratchFile();
  if (!staged.valid())
    return WriteResult::Refused;
  uint64_t length = 0;
  bool made = ForEachPiece(content, [&](const char* piece, size_t size) {
    length += size;
    return WriteFully(staged, piece, size);
  });
  if (!made || !Rewind(staged))
    return WriteResult::ShortWrite;
  FileHandle file = OpenForWriting(target);
  // Another run rewriting the same file waits for this one to end, so that
  // the file holds one whole text or the other, never a mix. An interruption
  // waits too: the target is never left half old, half new.
  if (!file.valid() || !LockForRewrite(file))
    return WriteResult::Refused;
  const Uninterruptible holdInterrupts;
  std::vector<unsigned char> chunk(kCopyChunk);
  int64_t got;
  bool copied = true;
  while (copied && (got = ReadFully(staged, chunk.data(), chunk.size())) > 0)
    copied = WriteFully(file, reinterpret_cast<const char*>(chunk.data()), static_cast<size_t>(got));
  if (!copied || got < 0 || !CutAt(file, length) || !file.Close())
    return WriteResult::ShortWrite;
  return WriteResult::Done;
}

// Returns a name for a new file in the folder that no other write of this
// or another process picks. The counter is atomic so that writes from
// several threads never race for a name.
std::string TemporaryNameIn(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  const bool joined = kFolderSeparators.find(folder.back()) != std::string_view::npos;
  return folder + (joined ? "" : std::string(1, kNativeSeparator)) + std::string(kTemporaryPrefix) +
         std::to_string(ProcessNumber()) + "-" + std::to_string(counter++) + std::string(kTemporarySuffix);
}

// Writes a new file beside the target and renames it over the target, so
// that a failure leaves the old file whole.
WriteResult ReplaceFile(const WritePlan& plan, ContentPieces& content) {
  const std::string folder = FolderOf(plan.target);
  std::string temporary;
  // Marked before it exists (its name holds this process's number, so no
  // other file goes by it), so that no moment leaves it behind after an
  // interruption.
  std::optional<RemovedOnInterrupt> marked;
  FileHandle file;
  for (int attempt = 0; attempt < kTemporaryAttempts && !file.valid(); ++attempt) {
    temporary = TemporaryNameIn(folder);
    marked.emplace(temporary);
    bool taken = false;
    file = CreateNewFile(temporary, taken);
    if (!file.valid() && !taken)
      return WriteResult::Refused;
  }
  if (!file.valid())
    return WriteResult::Refused;
  // Whatever ends this call early, an exception included, removes the
  // temporary (Windows lets it go once its handle closes); the move clears
  // the name.
  const auto remove = [](std::string* name) { RemoveFile(*name); };
  std::unique_ptr<std::string, decltype(remove)> removal(&temporary, remove);
  // A user who may write someone else's file (or one of a group the user
  // is not in) can't give a new file its owner, and so rewrites the file
  // itself.
  if (plan.exists && !TakeOverOwner(file, plan.kept)) {
    file.Close();
    removal.reset();
    return RewriteInPlace(plan.target, content);
  }
  bool written =
      ForEachPiece(content, [&](const char* piece, size_t length) { return WriteFully(file, piece, length); });
  if (!written) {
    file.Close();
    return WriteResult::ShortWrite;
  }
  if (!file.Close() || !MoveOver(temporary, plan.target))
    return WriteResult::Refused;
  removal.release();
  if (plan.exists)
    RestoreAttributes(plan.target, plan.kept);
  return WriteResult::Done;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of(kFolderSeparators);
  if (separator == std::string::npos)
    return ".";
  return path.substr(0, separator == 0 ? 1 : separator);
}

bool FileExists(const char* path) {
  if (!path || !*path)
    return false;
  FileHandle file = OpenForReading(path);
  FileStatus status;
  return file.valid() && StatusOf(file, status) && status.kind != FileKind::Folder;
}

namespace {

// True when a regular file gave fewer bytes than it reported at first
// because it is now shorter: another program cut it while it was read. (A
// file of /sys gives fewer bytes than its size but keeps that size.)
bool ShrankWhileRead(const FileHandle& file, const FileStatus& before, uint64_t got) {
  FileStatus after;
  return before.kind == FileKind::Regular && got < before.size && StatusOf(file, after) && after.size < before.size;
}

// Throws std::bad_alloc when the file can't be held in memory.
ReadResult ReadOpenFile(const FileHandle& file, ByteBuffer& output) {
  FileStatus status;
  if (!StatusOf(file, status))
    return ReadResult::UnknownLength;
  if (status.kind == FileKind::Folder)
    return ReadResult::CantOpen;
  if (status.kind == FileKind::Other) {
    // A pipe with a writer is read to its end, waiting for its data.
    WaitForData(file);
    return ReadUntilEnd(file, output, 0);
  }
  // The file is meant to be held whole, so what memory can't hold is
  // refused. It is read, never mapped: a mapped file that another program
  // cuts short kills the reader (SIGBUS), while a read just ends early.
  if (status.size > SIZE_MAX || (status.size > kCopyChunk && status.size > PhysicalMemoryBytes()))
    throw std::bad_alloc();
  // Files of /proc and /sys report a size of 0 or of a page, whatever they
  // hold: the size is only where reading starts.
  const ReadResult read = ReadUntilEnd(file, output, status.size);
  return read == ReadResult::Done && ShrankWhileRead(file, status, output.size()) ? ReadResult::Shrunk : read;
}

}  // namespace

ReadResult ReadWholeFile(const char* path, ByteBuffer& output, PipeWait wait) {
  FileHandle file = OpenForReading(path, wait);
  if (!file.valid())
    return ReadResult::CantOpen;
  // What memory can't hold is refused by throwing; here that becomes a
  // result like any other failure.
  try {
    return ReadOpenFile(file, output);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  output.Clear();
  return ReadResult::TooLarge;
}

ReadResult ReadFileInBlocks(const char* path, PipeWait wait, const BlockConsumer& consume) {
  FileHandle file = OpenForReading(path, wait);
  FileStatus status;
  if (!file.valid())
    return ReadResult::CantOpen;
  if (!StatusOf(file, status))
    return ReadResult::UnknownLength;
  if (status.kind == FileKind::Folder)
    return ReadResult::CantOpen;
  // A regular file never blocks; a pipe or device waits for its data. A
  // small file gets room for its size and one byte more, which sees its end
  // at once, so that a tree of small files costs no more than their bytes.
  const bool small = status.kind == FileKind::Regular && status.size != 0 && status.size < kReadBlockBytes;
  size_t blockBytes = kReadBlockBytes;
  if (status.kind != FileKind::Regular)
    WaitForData(file);
  else if (small)  // /proc files tell 0
    blockBytes = static_cast<size_t>(status.size) + 1;
  else
    AdviseSequential(file);
  // Left uninitialised: a block is always filled before it is handed out.
  // A small file's block is on the stack: a tree of small files allocates
  // nothing for their bytes.
  unsigned char smallBlock[kSmallBlockBytes];
  const std::unique_ptr<unsigned char[]> allocated(blockBytes > sizeof smallBlock ? new unsigned char[blockBytes]
                                                                                  : nullptr);
  unsigned char* const block = allocated ? allocated.get() : smallBlock;
  uint64_t total = 0;
  for (;;) {
    const int64_t got = ReadFully(file, block, blockBytes, small ? static_cast<size_t>(status.size) : SIZE_MAX);
    if (got < 0)
      return ReadResult::ShortRead;
    if (got > 0 && !consume(block, static_cast<size_t>(got)))
      return ReadResult::Done;
    total += static_cast<uint64_t>(got);
    // A block left short met the end: no read is needed to find it again.
    if (static_cast<size_t>(got) < blockBytes)
      return ShrankWhileRead(file, status, total) ? ReadResult::Shrunk : ReadResult::Done;
  }
}

FileComparison CompareWithFile(const char* path, ContentPieces& content) {
  FileHandle file = OpenForReading(path);
  FileStatus status;
  if (!file.valid() || !StatusOf(file, status) || status.kind == FileKind::Folder)
    return FileComparison::Absent;
  // Devices and pipes are never output files; the writer refuses them.
  if (status.kind != FileKind::Regular || status.size != content.size)
    return FileComparison::Different;
  return CompareWithOpenFile(file, content);
}

bool WritableFolders::TakeNewFiles(const std::string& folder) {
  std::lock_guard<std::mutex> guard(lock_);
  const auto known = known_.find(folder);
  return known != known_.end() ? known->second : known_.emplace(folder, FolderTakesNewFiles(folder)).first->second;
}

WriteResult WriteWholeFile(const char* path, ContentPieces& content, WritableFolders* folders) {
  const WritePlan plan = PlanWrite(path, folders);
  switch (plan.way) {
    case WriteWay::Replace: return ReplaceFile(plan, content);
    case WriteWay::InPlace: return RewriteInPlace(plan.target, content);
    case WriteWay::Impossible: break;
  }
  return WriteResult::Refused;
}

bool CanWriteFile(const char* path, WritableFolders* folders) {
  // The same decision that a write takes first, so that test mode foresees
  // exactly the failures a real run meets.
  return PlanWrite(path, folders).way != WriteWay::Impossible;
}

WriteResult WriteWholeFile(const char* path, std::string_view content) {
  ContentPieces pieces = PiecesOf(content);
  return WriteWholeFile(path, pieces);
}

FileComparison CompareWithFile(const char* path, std::string_view content) {
  ContentPieces pieces = PiecesOf(content);
  return CompareWithFile(path, pieces);
}

bool IsTemporaryName(std::string_view name) {
  if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
    return false;
  const std::string_view numbers =
      name.substr(kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
  const size_t dash = numbers.find('-');
  const auto digits = [](std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  return dash != std::string_view::npos && digits(numbers.substr(0, dash)) && digits(numbers.substr(dash + 1));
}
