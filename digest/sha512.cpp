#include "digest/sha512.h"

#include <cstring>

#include "digest/byte_order.h"
#include "digest/cpu_dispatch.h"
#include "digest/sha512_blocks.h"

// The compression itself is in sha512_blocks.h, shared with the build of it
// for newer x86 CPUs.
void Sha512BlocksPortable(uint64_t state[8], const unsigned char* data,
                          uint64_t blockCount) {
  Sha512CompressBlocks(state, data, blockCount);
}

namespace {

// Whole blocks are compressed where they lie, in the caller's memory.
void CompressBlocks(uint64_t state[8], const unsigned char* data,
                    uint64_t blockCount) {
  if (DigestAccelerationAllowed() && CpuHasAvxBmi2())
    Sha512BlocksAvxBmi2(state, data, blockCount);
  else
    Sha512BlocksPortable(state, data, blockCount);
}

}  // namespace

void Sha512Init(Sha512Context& ctx) {
  static constexpr uint64_t kInitial[8] = {
      0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
      0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
      0x1f83d9abfb41bd6b, 0x5be0cd19137e2179,
  };
  ctx.bitCount = 0;
  std::memcpy(ctx.state, kInitial, sizeof kInitial);
  ctx.bufferLength = 0;
}

void Sha512Transform(Sha512Context& ctx, const unsigned char* block) {
  CompressBlocks(ctx.state, block, 1);
}

void Sha512Update(Sha512Context& ctx, const unsigned char* data,
                  uint64_t count) {
  if (count == 0)
    return;
  if (ctx.bufferLength != 0) {
    const uint32_t room = 128 - ctx.bufferLength;
    const uint32_t take = count < room ? static_cast<uint32_t>(count) : room;
    std::memcpy(ctx.buffer + ctx.bufferLength, data, take);
    ctx.bufferLength += take;
    data += take;
    count -= take;
    if (ctx.bufferLength < 128)
      return;
    CompressBlocks(ctx.state, ctx.buffer, 1);
    ctx.bitCount += 1024;
    ctx.bufferLength = 0;
  }
  if (count >= 128) {
    // Whole blocks are compressed where they lie, in the caller's memory.
    const uint64_t blocks = count / 128;
    CompressBlocks(ctx.state, data, blocks);
    ctx.bitCount += blocks * 1024;
    data += blocks * 128;
    count -= blocks * 128;
  }
  if (count != 0) {
    std::memcpy(ctx.buffer, data, count);
    ctx.bufferLength = static_cast<uint32_t>(count);
  }
}

void Sha512Final(Sha512Context& ctx, unsigned char* digest) {
  ctx.bitCount += uint64_t{ctx.bufferLength} * 8;
  uint32_t used = ctx.bufferLength;
  ctx.buffer[used++] = 0x80;
  if (used > 112) {
    std::memset(ctx.buffer + used, 0, 128 - used);
    CompressBlocks(ctx.state, ctx.buffer, 1);
    used = 0;
  }
  // The length field is 128 bits; a 64-bit count fills its low half.
  std::memset(ctx.buffer + used, 0, 120 - used);
  StoreBE64(ctx.buffer + 120, ctx.bitCount);
  CompressBlocks(ctx.state, ctx.buffer, 1);
  ctx.bufferLength = 0;
  for (int j = 0; j < 8; ++j)
    StoreBE64(digest + 8 * j, ctx.state[j]);
}
