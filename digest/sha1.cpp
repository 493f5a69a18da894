#include "digest/sha1.h"

#include <bit>
#include <utility>

#include "digest/block_buffer.h"
#include "digest/byte_order.h"
#include "digest/cpu_dispatch.h"

namespace {

// Round i of 80. Instead of moving five variables each round, the roles
// rotate over v: after inlining every index is a constant, so v and w live
// in registers and fixed stack slots. w holds the last 16 schedule words.
template <int i>
[[gnu::always_inline]] inline void Round(uint32_t v[5], uint32_t w[16], const unsigned char* block) {
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
[[gnu::always_inline]] inline void Rounds(uint32_t v[5], uint32_t w[16], const unsigned char* block,
                                          std::integer_sequence<int, i...>) {
  (Round<i>(v, w, block), ...);
}

// Whole blocks are compressed where they lie, in the caller's memory.
void CompressBlocks(uint32_t state[5], const unsigned char* data, uint64_t blockCount) {
  if (DigestAccelerationAllowed() && CpuHasShaExtensions())
    Sha1BlocksShaNi(state, data, blockCount);
  else
    Sha1BlocksPortable(state, data, blockCount);
}

}  // namespace

void Sha1BlocksPortable(uint32_t state[5], const unsigned char* data, uint64_t blockCount) {
  uint32_t v[5] = {state[0], state[1], state[2], state[3], state[4]};
  uint32_t w[16];
  for (; blockCount != 0; --blockCount, data += kSha1BlockSize) {
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
  ctx.bitCount = 0;
  ctx.bufferLength = 0;
}

void Sha1Update(Sha1Context& ctx, const unsigned char* data, uint64_t count) {
  BufferedUpdate<kSha1BlockSize>(ctx, data, count, CompressBlocks);
}

void Sha1Final(Sha1Context& ctx, unsigned char* digest) {
  PadAndCompress<kSha1BlockSize, std::endian::big>(ctx, CompressBlocks);
  for (int j = 0; j < 5; ++j)
    StoreBE32(digest + 4 * j, ctx.state[j]);
}
