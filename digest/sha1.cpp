#include "digest/sha1.h"

#include <bit>
#include <cstring>
#include <utility>

#include "digest/byte_order.h"
#include "digest/cpu_dispatch.h"

namespace {

// Round i of 80. Instead of moving five variables each round, the roles
// rotate over v: after inlining every index is a constant, so v and w live
// in registers and fixed stack slots. w holds the last 16 schedule words.
template <int i>
[[gnu::always_inline]] inline void Round(uint32_t v[5], uint32_t w[16],
                                         const unsigned char* block) {
  const uint32_t a = v[(5 - i % 5) % 5];
  uint32_t& b = v[(6 - i % 5) % 5];
  const uint32_t c = v[(7 - i % 5) % 5];
  const uint32_t d = v[(8 - i % 5) % 5];
  uint32_t& e = v[(9 - i % 5) % 5];

  uint32_t& x = w[i & 15];
  if constexpr (i < 16)
    x = LoadBE32(block + 4 * i);
  else
    x = std::rotl(w[(i + 13) & 15] ^ w[(i + 8) & 15] ^ w[(i + 2) & 15] ^ x, 1);

  uint32_t f, k;
  if constexpr (i < 20) {
    f = ((c ^ d) & b) ^ d;
    k = 0x5a827999;
  } else if constexpr (i < 40) {
    f = b ^ c ^ d;
    k = 0x6ed9eba1;
  } else if constexpr (i < 60) {
    f = (b & c) | ((b | c) & d);
    k = 0x8f1bbcdc;
  } else {
    f = b ^ c ^ d;
    k = 0xca62c1d6;
  }
  e += std::rotl(a, 5) + f + k + x;
  b = std::rotl(b, 30);
}

template <int... i>
[[gnu::always_inline]] inline void Rounds(uint32_t v[5], uint32_t w[16],
                                          const unsigned char* block,
                                          std::integer_sequence<int, i...>) {
  (Round<i>(v, w, block), ...);
}

// Both compress straight from the caller's memory when it holds whole
// blocks; only the final partial block ever goes through ctx.buffer.
void CompressBlocks(uint32_t state[5], const unsigned char* data,
                    uint64_t blockCount) {
  if (DigestAccelerationAllowed() && CpuHasShaExtensions())
    Sha1BlocksShaNi(state, data, blockCount);
  else
    Sha1BlocksPortable(state, data, blockCount);
}

}  // namespace

void Sha1BlocksPortable(uint32_t state[5], const unsigned char* data,
                        uint64_t blockCount) {
  uint32_t v[5] = {state[0], state[1], state[2], state[3], state[4]};
  uint32_t w[16];
  for (; blockCount != 0; --blockCount, data += 64) {
    const uint32_t saved[5] = {v[0], v[1], v[2], v[3], v[4]};
    Rounds(v, w, data, std::make_integer_sequence<int, 80>{});
    // 80 rounds are a multiple of 5, so the roles are back where they began.
    for (int j = 0; j < 5; ++j)
      v[j] += saved[j];
  }
  for (int j = 0; j < 5; ++j)
    state[j] = v[j];
}

void Sha1Init(Sha1Context& ctx) {
  ctx.state[0] = 0x67452301;
  ctx.state[1] = 0xefcdab89;
  ctx.state[2] = 0x98badcfe;
  ctx.state[3] = 0x10325476;
  ctx.state[4] = 0xc3d2e1f0;
  ctx.bitCountLow = 0;
  ctx.bitCountHigh = 0;
}

void Sha1Transform(Sha1Context& ctx, const unsigned char* block) {
  CompressBlocks(ctx.state, block, 1);
}

void Sha1Update(Sha1Context& ctx, const unsigned char* data, uint64_t count) {
  if (count == 0)
    return;
  const uint32_t pending = (ctx.bitCountLow >> 3) & 63;
  // 8 * count split at bit 32: the low part may carry out of bitCountLow,
  // the high part goes straight to bitCountHigh.
  const uint32_t low = ctx.bitCountLow + static_cast<uint32_t>(count << 3);
  ctx.bitCountHigh +=
      static_cast<uint32_t>(count >> 29) + (low < ctx.bitCountLow ? 1 : 0);
  ctx.bitCountLow = low;

  if (pending != 0) {
    const uint32_t room = 64 - pending;
    if (count < room) {
      std::memcpy(ctx.buffer + pending, data, count);
      return;
    }
    std::memcpy(ctx.buffer + pending, data, room);
    CompressBlocks(ctx.state, ctx.buffer, 1);
    data += room;
    count -= room;
  }
  if (count >= 64) {
    CompressBlocks(ctx.state, data, count / 64);
    data += count & ~uint64_t{63};
  }
  if ((count & 63) != 0)
    std::memcpy(ctx.buffer, data, count & 63);
}

void Sha1Final(Sha1Context& ctx, unsigned char* digest) {
  unsigned char length[8];
  StoreBE32(length, ctx.bitCountHigh);
  StoreBE32(length + 4, ctx.bitCountLow);

  // The padding goes straight into the buffer rather than through Update:
  // the same bytes, without a call per byte.
  uint32_t pending = (ctx.bitCountLow >> 3) & 63;
  ctx.buffer[pending++] = 0x80;
  if (pending > 56) {
    std::memset(ctx.buffer + pending, 0, 64 - pending);
    CompressBlocks(ctx.state, ctx.buffer, 1);
    pending = 0;
  }
  std::memset(ctx.buffer + pending, 0, 56 - pending);
  std::memcpy(ctx.buffer + 56, length, 8);
  CompressBlocks(ctx.state, ctx.buffer, 1);
  for (int j = 0; j < 5; ++j)
    StoreBE32(digest + 4 * j, ctx.state[j]);
}
