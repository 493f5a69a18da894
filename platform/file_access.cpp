#include "platform/file_access.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/console_log.h"

namespace {

constexpr size_t kPieceCapacity = 1 << 20;
// Room for a stream whose size is unknown, before it grows.
constexpr uint64_t kFirstReadBytes = 1 << 16;

// Hands the pieces to `consume` on this thread, one made after the other.
bool ForEachPieceInTurn(ContentPieces& content, const std::function<bool(const char*, size_t)>& consume) {
  std::vector<char> piece(static_cast<size_t>(std::min<uint64_t>(content.size, kPieceCapacity)) + (64 << 10));
  while (size_t length = content.next(piece.data(), piece.size())) {
    if (!consume(piece.data(), length))
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

  const auto make = [&] {
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
  };
  // A thread that can't be started (too many threads, too little memory)
  // leaves the making to this one.
  std::thread maker;
  try {
    maker = std::thread(make);
  } catch (const std::system_error&) {
    return ForEachPieceInTurn(content, consume);
  }

  bool consumedAll = true;
  for (int i = 0;; i = (i + 1) % kSlots) {
    {
      std::unique_lock<std::mutex> guard(lock);
      changed.wait(guard, [&] { return slots[i].full; });
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
  {
    std::lock_guard<std::mutex> guard(lock);
    stop = true;
  }
  changed.notify_all();
  maker.join();
  return consumedAll;
}

}  // namespace

ContentPieces PiecesOf(std::string_view text) {
  auto offset = std::make_shared<size_t>(0);
  ContentPieces pieces;
  pieces.size = text.size();
  pieces.next = [text, offset](char* out, size_t capacity) {
    size_t length = std::min(capacity, text.size() - *offset);
    std::memcpy(out, text.data() + *offset, length);
    *offset += length;
    return length;
  };
  pieces.rewind = [offset] { *offset = 0; };
  return pieces;
}

bool ForEachPiece(ContentPieces& content, const std::function<bool(const char*, size_t)>& consume) {
  content.rewind();
  if (content.size > 4 * kPieceCapacity)
    return ForEachPieceAhead(content, consume);
  return ForEachPieceInTurn(content, consume);
}

bool ReadUntilEnd(const FileReader& read, const char* path, ByteBuffer& output, uint64_t sizeHint) {
  // A stream that never ends (a device) stops well before it crowds out the
  // process. While the buffer grows, the old and the new one are both held:
  // together they stay within the limit.
  const uint64_t limit = MemoryLimitBytes() / 4;
  // One byte past the reported size, so that the end is seen at once when
  // the size told the truth.
  uint64_t capacity = std::max<uint64_t>(sizeHint + 1, kFirstReadBytes);
  if (capacity > SIZE_MAX)
    throw std::bad_alloc();
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[capacity]);
  uint64_t length = 0;
  for (;;) {
    if (length == capacity) {
      const uint64_t grown = std::min(2 * capacity, limit > capacity ? limit - capacity : 0);
      if (grown <= capacity)
        throw std::bad_alloc();
      std::unique_ptr<unsigned char[]> larger(new unsigned char[grown]);
      std::memcpy(larger.get(), bytes.get(), length);
      bytes = std::move(larger);
      capacity = grown;
    }
    const int64_t got = read(bytes.get() + length, static_cast<size_t>(capacity - length));
    if (got < 0) {
      ReportShortRead(path);
      return false;
    }
    if (got == 0)
      break;
    length += static_cast<uint64_t>(got);
  }
  output.Adopt(std::move(bytes), static_cast<size_t>(length));
  return true;
}

ReadResult ReadBlocksUntilEnd(const FileReader& read, const BlockConsumer& consume) {
  std::vector<unsigned char> block(kPieceCapacity);
  for (;;) {
    const int64_t got = read(block.data(), block.size());
    if (got < 0)
      return ReadResult::CantRead;
    if (got == 0 || !consume(block.data(), static_cast<size_t>(got)))
      return ReadResult::Done;
  }
}

FileComparison CompareWithReader(const FileReader& read, ContentPieces& content) {
  std::vector<unsigned char> chunk;
  bool unreadable = false;
  bool same = ForEachPiece(content, [&](const char* piece, size_t length) {
    chunk.resize(length);
    int64_t got = read(chunk.data(), length);
    if (got < 0)
      unreadable = true;
    return got == static_cast<int64_t>(length) && std::memcmp(chunk.data(), piece, length) == 0;
  });
  if (unreadable)
    return FileComparison::Unreadable;
  // A file that grew since it was measured holds more than the content.
  unsigned char extra;
  if (same && read(&extra, 1) != 0)
    return FileComparison::Different;
  return same ? FileComparison::Same : FileComparison::Different;
}

bool WriteWholeFile(const char* path, std::string_view content) {
  ContentPieces pieces = PiecesOf(content);
  return WriteWholeFile(path, pieces);
}

FileComparison CompareWithFile(const char* path, std::string_view content) {
  ContentPieces pieces = PiecesOf(content);
  return CompareWithFile(path, pieces);
}

void ReportEmptyPath(const char* path) {
  ConsoleLog::Instance() << ConsoleColour(Colour::Notice) << "path"
                         << "(" << path << ") "
                         << "\n"
                         << "\n";
}

void ReportAbsentPath() {
  ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] "
                         << "path"
                         << "("
                         << ") "
                         << "\n"
                         << "\n";
}

void ReportLengthFailure(const char* path, int64_t streamLength, bool good) {
  ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] "
                         << "path"
                         << "(" << path << ") "
                         << "streamLength"
                         << "(" << streamLength << ") "
                         << "inputStream.good()"
                         << "(" << good << ") "
                         << "\n"
                         << "\n";
}

void ReportShortRead(const char* path) {
  ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] "
                         << "path"
                         << "(" << path << ") "
                         << "inputStream.good()"
                         << "(" << false << ") "
                         << "\n"
                         << "\n";
}

void ReportWriteFailure(const char* path) {
  ConsoleLog::Instance() << ConsoleColour(Colour::Error) << " [ERROR] "
                         << "path"
                         << "(" << path << ") "
                         << "outputStream.good()"
                         << "(" << false << ") "
                         << "\n"
                         << "\n";
}
