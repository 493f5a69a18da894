#include "digest/sha256.h"

#include <bit>
#include <cstring>
#include <utility>

#include "digest/block_buffer.h"
#include "digest/byte_order.h"
#include "digest/cpu_dispatch.h"
#include "digest/sha256_constants.h"

namespace {

// Round i of 64. The eight working variables rotate roles over v instead
// of being moved each round; once inlined every index is a constant, so v
// and the 16-word schedule window w stay in registers and fixed slots.
template <int i>
[[gnu::always_inline]] inline void Round(uint32_t v[8], uint32_t w[16], const unsigned char* block) {
  const uint32_t a = v[(8 - i) & 7];
  const uint32_t b = v[(9 - i) & 7];
  const uint32_t c = v[(10 - i) & 7];
  uint32_t& d = v[(11 - i) & 7];
  const uint32_t e = v[(12 - i) & 7];
  const uint32_t f = v[(13 - i) & 7];
  const uint32_t g = v[(14 - i) & 7];
  uint32_t& h = v[(15 - i) & 7];

  uint32_t& x = w[i & 15];
  if constexpr (i < 16) {
    x = LoadBE32(block + 4 * i);
  } else {
    const uint32_t w15 = w[(i + 1) & 15];
    const uint32_t w2 = w[(i + 14) & 15];
    x += (std::rotr(w15, 7) ^ std::rotr(w15, 18) ^ (w15 >> 3)) + (std::rotr(w2, 17) ^ std::rotr(w2, 19) ^ (w2 >> 10)) +
         w[(i + 9) & 15];
  }

  const uint32_t t1 =
      h + kSha256RoundConstants[i] + x + (((f ^ g) & e) ^ g) + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25));
  const uint32_t t2 = (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + (((a ^ b) & (b ^ c)) ^ b);
  d += t1;
  h = t1 + t2;
}

template <int... i>
[[gnu::always_inline]] inline void Rounds(uint32_t v[8], uint32_t w[16], const unsigned char* block,
                                          std::integer_sequence<int, i...>) {
  (Round<i>(v, w, block), ...);
}

// Whole blocks are compressed where they lie, in the caller's memory.
void CompressBlocks(uint32_t state[8], const unsigned char* data, uint64_t blockCount) {
  if (DigestAccelerationAllowed() && CpuHasShaExtensions())
    Sha256BlocksShaNi(state, data, blockCount);
  else
    Sha256BlocksPortable(state, data, blockCount);
}

}  // namespace

void Sha256BlocksPortable(uint32_t state[8], const unsigned char* data, uint64_t blockCount) {
  uint32_t v[8];
  for (int j = 0; j < 8; ++j)
    v[j] = state[j];
  uint32_t w[16];
  for (; blockCount != 0; --blockCount, data += kSha256BlockSize) {
    uint32_t saved[8];
    for (int j = 0; j < 8; ++j)
      saved[j] = v[j];
    Rounds(v, w, data, std::make_integer_sequence<int, 64>{});
    // 64 rounds are a multiple of 8, so the roles are back where they began.
    for (int j = 0; j < 8; ++j)
      v[j] += saved[j];
  }
  for (int j = 0; j < 8; ++j)
    state[j] = v[j];
}

void Sha256Init(Sha256Context& ctx) {
  static constexpr uint32_t kInitial[8] = {
      0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19,
  };
  ctx.bitCount = 0;
  std::memcpy(ctx.state, kInitial, sizeof kInitial);
  ctx.bufferLength = 0;
}

void Sha256Update(Sha256Context& ctx, const unsigned char* data, uint64_t count) {
  BufferedUpdate<kSha256BlockSize>(ctx, data, count, CompressBlocks);
}

void Sha256Final(Sha256Context& ctx, unsigned char* digest) {
  PadAndCompress<kSha256BlockSize, std::endian::big>(ctx, CompressBlocks);
  for (int j = 0; j < 8; ++j)
    StoreBE32(digest + 4 * j, ctx.state[j]);
}
