// Internal to the digest engines: the SHA-512 compression function. It is
// inline so that the same portable source is built three times: in
// sha512.cpp for any CPU, and in sha_x86.cpp for CPUs with AVX and BMI2,
// where compilers emit one-instruction rotations (rorx), andn, and
// three-operand vector code (about a fifth faster there), and for CPUs with
// AVX-512 as well, whose vector rotations save another twentieth.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "digest/byte_order.h"

namespace sha512_detail {

inline constexpr uint64_t kRoundConstants[80] = {
    0x428a2f98d728ae22, 0x7137449123ef65cd, 0xb5c0fbcfec4d3b2f, 0xe9b5dba58189dbbc, 0x3956c25bf348b538,
    0x59f111f1b605d019, 0x923f82a4af194f9b, 0xab1c5ed5da6d8118, 0xd807aa98a3030242, 0x12835b0145706fbe,
    0x243185be4ee4b28c, 0x550c7dc3d5ffb4e2, 0x72be5d74f27b896f, 0x80deb1fe3b1696b1, 0x9bdc06a725c71235,
    0xc19bf174cf692694, 0xe49b69c19ef14ad2, 0xefbe4786384f25e3, 0x0fc19dc68b8cd5b5, 0x240ca1cc77ac9c65,
    0x2de92c6f592b0275, 0x4a7484aa6ea6e483, 0x5cb0a9dcbd41fbd4, 0x76f988da831153b5, 0x983e5152ee66dfab,
    0xa831c66d2db43210, 0xb00327c898fb213f, 0xbf597fc7beef0ee4, 0xc6e00bf33da88fc2, 0xd5a79147930aa725,
    0x06ca6351e003826f, 0x142929670a0e6e70, 0x27b70a8546d22ffc, 0x2e1b21385c26c926, 0x4d2c6dfc5ac42aed,
    0x53380d139d95b3df, 0x650a73548baf63de, 0x766a0abb3c77b2a8, 0x81c2c92e47edaee6, 0x92722c851482353b,
    0xa2bfe8a14cf10364, 0xa81a664bbc423001, 0xc24b8b70d0f89791, 0xc76c51a30654be30, 0xd192e819d6ef5218,
    0xd69906245565a910, 0xf40e35855771202a, 0x106aa07032bbd1b8, 0x19a4c116b8d2d0c8, 0x1e376c085141ab53,
    0x2748774cdf8eeb99, 0x34b0bcb5e19b48a8, 0x391c0cb3c5c95a63, 0x4ed8aa4ae3418acb, 0x5b9cca4f7763e373,
    0x682e6ff3d6b2b8a3, 0x748f82ee5defb2fc, 0x78a5636f43172f60, 0x84c87814a1f0ab72, 0x8cc702081a6439ec,
    0x90befffa23631e28, 0xa4506cebde82bde9, 0xbef9a3f7b2c67915, 0xc67178f2e372532b, 0xca273eceea26619c,
    0xd186b8c721c0c207, 0xeada7dd6cde0eb1e, 0xf57d4f7fee6ed178, 0x06f067aa72176fba, 0x0a637dc5a2c898a6,
    0x113f9804bef90dae, 0x1b710b35131c471b, 0x28db77f523047d84, 0x32caab7b40c72493, 0x3c9ebe0a15c9bebc,
    0x431d67c49c100d4c, 0x4cc5d4becb3e42b6, 0x597f299cfc657e2a, 0x5fcb6fab3ad6faec, 0x6c44198c4a475817,
};

// The schedule runs on the vector unit, two words at a time, while the
// rounds keep the integer unit busy; scalar code for both leaves the
// integer unit the bottleneck. (GCC and Clang vector extensions: plain
// SSE2 on x86-64, NEON on ARM, scalar code elsewhere.)
using Words = uint64_t __attribute__((vector_size(16)));

[[gnu::always_inline]] inline Words Rotr(Words x, int n) {
  return (x >> n) | (x << (64 - n));
}

// Two big-endian words in one load. The swap is done on 16-bit lanes, then
// by reordering them, which even the oldest x86-64 vector unit does in a
// few instructions; building the vector from two scalar loads makes
// compilers go through the stack.
[[gnu::always_inline]] inline Words LoadWords(const unsigned char* p) {
  using Halves = uint16_t __attribute__((vector_size(16)));
  Halves halves;
  std::memcpy(&halves, p, sizeof halves);
  if constexpr (std::endian::native == std::endian::little) {
    halves = (halves << 8) | (halves >> 8);
    halves = __builtin_shufflevector(halves, halves, 3, 2, 1, 0, 7, 6, 5, 4);
  }
  Words words;
  std::memcpy(&words, &halves, sizeof words);
  return words;
}

[[gnu::always_inline]] inline Words Constants(int t) {
  Words k;
  std::memcpy(&k, kRoundConstants + t, sizeof k);
  return k;
}

// Words t..t+1 (t = 16 + 2j + 16n) from the 16 before them, held in x as
// pairs; x[j] holds words t-16..t-15 and is replaced.
template <int j>
[[gnu::always_inline]] inline Words NextWords(Words x[8]) {
  const Words w16 = x[j];
  const Words w15 = __builtin_shufflevector(x[j], x[(j + 1) % 8], 1, 2);
  const Words w7 = __builtin_shufflevector(x[(j + 4) % 8], x[(j + 5) % 8], 1, 2);
  const Words w2 = x[(j + 7) % 8];
  const Words s0 = Rotr(w15, 1) ^ Rotr(w15, 8) ^ (w15 >> 7);
  const Words s1 = Rotr(w2, 19) ^ Rotr(w2, 61) ^ (w2 >> 6);
  x[j] = w16 + s0 + w7 + s1;
  return x[j];
}

// Round i (mod 16). The eight working variables rotate roles over v instead
// of being moved; once inlined every index is a constant, so v stays in
// registers.
template <int i>
[[gnu::always_inline]] inline void Round(uint64_t v[8], uint64_t wk) {
  const uint64_t a = v[(8 - i) & 7];
  const uint64_t b = v[(9 - i) & 7];
  const uint64_t c = v[(10 - i) & 7];
  uint64_t& d = v[(11 - i) & 7];
  const uint64_t e = v[(12 - i) & 7];
  const uint64_t f = v[(13 - i) & 7];
  const uint64_t g = v[(14 - i) & 7];
  uint64_t& h = v[(15 - i) & 7];
  // Ch as a sum of two terms that share no bit: one andn where there is one.
  const uint64_t t1 = h + wk + (e & f) + (~e & g) + (std::rotr(e, 14) ^ std::rotr(e, 18) ^ std::rotr(e, 41));
  // Maj as Ch(a ^ b, c, b); b ^ c is the previous round's a ^ b.
  const uint64_t t2 = (std::rotr(a, 28) ^ std::rotr(a, 34) ^ std::rotr(a, 39)) + (((a ^ b) & (b ^ c)) ^ b);
  d += t1;
  h = t1 + t2;
}

// Round base + i, reading wk[i], the word plus its constant. Before round
// 64 the odd rounds also make the words 16 rounds ahead, into the slots
// just read.
template <bool kSchedule, int i>
[[gnu::always_inline]] inline void RoundAndSchedule(uint64_t v[8], uint64_t wk[16], Words x[8], int base) {
  Round<i>(v, wk[i]);
  if constexpr (kSchedule && i % 2 == 1) {
    const Words next = NextWords<i / 2>(x) + Constants(base + 15 + i);
    std::memcpy(wk + i - 1, &next, sizeof next);
  }
}

// Sixteen rounds: a multiple of 8, so the roles end where they began.
template <bool kSchedule, int... i>
[[gnu::always_inline]] inline void Rounds(uint64_t v[8], uint64_t wk[16], Words x[8], int base,
                                          std::integer_sequence<int, i...>) {
  (RoundAndSchedule<kSchedule, i>(v, wk, x, base), ...);
}

}  // namespace sha512_detail

// Compresses blockCount consecutive 128-byte blocks at data into state.
[[gnu::always_inline]] inline void Sha512CompressBlocks(uint64_t state[8], const unsigned char* data,
                                                        uint64_t blockCount) {
  using namespace sha512_detail;
  constexpr auto kSixteen = std::make_integer_sequence<int, 16>{};
  uint64_t v[8];
  for (int j = 0; j < 8; ++j)
    v[j] = state[j];
  alignas(16) uint64_t wk[16];
  Words x[8];
  for (; blockCount != 0; --blockCount, data += 128) {
    for (int j = 0; j < 8; ++j) {
      x[j] = LoadWords(data + 16 * j);
      const Words sum = x[j] + Constants(2 * j);
      std::memcpy(wk + 2 * j, &sum, sizeof sum);
    }
    uint64_t saved[8];
    for (int j = 0; j < 8; ++j)
      saved[j] = v[j];
    // A loop of 16 rounds rather than 80 inlined ones: the unrolled body
    // no longer fits the decoded-instruction cache and runs a third slower.
    for (int base = 0; base < 64; base += 16)
      Rounds<true>(v, wk, x, base, kSixteen);
    Rounds<false>(v, wk, x, 64, kSixteen);
    for (int j = 0; j < 8; ++j)
      v[j] += saved[j];
  }
  for (int j = 0; j < 8; ++j)
    state[j] = v[j];
}
