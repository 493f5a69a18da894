// The buffering and padding that all four engines share. Their contexts
// hold bitCount (bits of the blocks compressed so far), bufferLength,
// buffer[Block] and state; `compress(state, data, blocks)` compresses whole
// blocks.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "digest/byte_order.h"

// Feeds bytes in: pieces of a block wait in the buffer, whole blocks are
// compressed where they lie, in the caller's memory.
template <uint32_t Block, typename Context, typename Compress>
inline void BufferedUpdate(Context& ctx, const unsigned char* data, uint64_t count, Compress compress) {
  if (count == 0)
    return;
  if (ctx.bufferLength != 0) {
    const uint32_t room = Block - ctx.bufferLength;
    const uint32_t take = count < room ? static_cast<uint32_t>(count) : room;
    std::memcpy(ctx.buffer + ctx.bufferLength, data, take);
    ctx.bufferLength += take;
    data += take;
    count -= take;
    if (ctx.bufferLength < Block)
      return;
    compress(ctx.state, ctx.buffer, 1);
    ctx.bitCount += Block * 8;
    ctx.bufferLength = 0;
  }
  if (count >= Block) {
    const uint64_t blocks = count / Block;
    compress(ctx.state, data, blocks);
    ctx.bitCount += blocks * Block * 8;
    data += blocks * Block;
    count -= blocks * Block;
  }
  if (count != 0) {
    std::memcpy(ctx.buffer, data, count);
    ctx.bufferLength = static_cast<uint32_t>(count);
  }
}

// Pads the last block: 0x80, zeros, and the bit count in its last eight
// bytes, in the engine's byte order. The length field is an eighth of a
// block; one of 16 bytes (SHA-512) has its upper half zero, since the count
// is 64 bits.
template <uint32_t Block, std::endian Order, typename Context, typename Compress>
inline void PadAndCompress(Context& ctx, Compress compress) {
  constexpr uint32_t LengthField = Block / 8;
  ctx.bitCount += uint64_t{ctx.bufferLength} * 8;
  uint32_t used = ctx.bufferLength;
  ctx.buffer[used++] = 0x80;
  if (used > Block - LengthField) {
    std::memset(ctx.buffer + used, 0, Block - used);
    compress(ctx.state, ctx.buffer, 1);
    used = 0;
  }
  std::memset(ctx.buffer + used, 0, Block - 8 - used);
  if constexpr (Order == std::endian::little)
    StoreLE64(ctx.buffer + Block - 8, ctx.bitCount);
  else
    StoreBE64(ctx.buffer + Block - 8, ctx.bitCount);
  compress(ctx.state, ctx.buffer, 1);
}
