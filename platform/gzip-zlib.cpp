#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/gzip.h"

namespace {

// windowBits above 15 ask zlib for the gzip wrapper in place of zlib's own.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 9;
// "Unknown": the OS byte must not say which machine compressed.
constexpr int kUnknownOs = 255;
// zlib counts in unsigned int: larger inputs go in slices.
constexpr size_t kSlice = UINT_MAX;

struct DeflateEnd {
  void operator()(z_stream* stream) const { deflateEnd(stream); }
};

}  // namespace

bool GzipAvailable() {
  return true;
}

bool GzipWithin(const unsigned char* data, size_t size, size_t limit, ByteBuffer& out) {
  out.Clear();
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) != Z_OK)
    return false;
  const std::unique_ptr<z_stream, DeflateEnd> guard(&stream);
  gz_header header{};
  header.os = kUnknownOs;
  if (deflateSetHeader(&stream, &header) != Z_OK)
    return false;
  // Output beyond the limit is never needed: the compression stops there, so
  // bytes that don't shrink cost no more than the limit's worth of work.
  auto bytes = std::make_unique<unsigned char[]>(std::max<size_t>(limit, 1));
  stream.next_in = const_cast<unsigned char*>(data);
  stream.next_out = bytes.get();
  size_t inLeft = size;
  size_t outLeft = limit;
  for (;;) {
    const size_t inSlice = std::min(inLeft, kSlice);
    const size_t outSlice = std::min(outLeft, kSlice);
    stream.avail_in = static_cast<uInt>(inSlice);
    stream.avail_out = static_cast<uInt>(outSlice);
    const int status = deflate(&stream, inSlice == inLeft ? Z_FINISH : Z_NO_FLUSH);
    inLeft -= inSlice - stream.avail_in;
    outLeft -= outSlice - stream.avail_out;
    if (status == Z_STREAM_END)
      break;
    // No room left, or no progress possible: the member doesn't fit.
    if ((status != Z_OK && status != Z_BUF_ERROR) || outLeft == 0)
      return false;
  }
  // A copy of its own size: the room for the limit can be many times larger.
  out.Assign(bytes.get(), limit - outLeft);
  return true;
}
