// The digest code for newer x86-64 CPUs: SHA-1 and SHA-256 on the SHA
// extensions, SHA-512 built for AVX and BMI2 and for AVX-512, and the
// cpuid checks that choose them. Only functions with a target attribute may
// use those instructions (inlined code takes on its caller's), so the
// program still runs on any x86-64; no file-wide flags, which would leak
// the instructions into inline functions other files share.

#include <cpuid.h>
#include <immintrin.h>

#include <atomic>
#include <utility>

#include "digest/cpu_dispatch.h"
#include "digest/sha256_constants.h"
#include "digest/sha512_blocks.h"

namespace {

// The message words are big-endian; the instructions want them native, and
// SHA-1 additionally wants the four words of a vector in reverse order.
[[gnu::target("sha,sse4.1"), gnu::always_inline]] inline __m128i LoadWords(const unsigned char* p, __m128i shuffle) {
  return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), shuffle);
}

struct Sha1Lanes {
  __m128i abcd;
  __m128i e;     // E at the start of the block, in the top lane
  __m128i last;  // ABCD before the latest four rounds, whence the next E
  __m128i msg[4];
};

// Rounds 4q..4q+3. msg[q % 4] holds their schedule words; the other three
// vectors are being advanced towards words 4q+4..4q+15 meanwhile.
template <int q>
[[gnu::target("sha,sse4.1"), gnu::always_inline]] inline void Sha1Quad(Sha1Lanes& s, const unsigned char* block,
                                                                       __m128i shuffle) {
  if constexpr (q < 4)
    s.msg[q] = LoadWords(block + 16 * q, shuffle);
  __m128i& m = s.msg[q % 4];
  __m128i e;
  if constexpr (q == 0)
    e = _mm_add_epi32(s.e, m);
  else
    e = _mm_sha1nexte_epu32(s.last, m);
  s.last = s.abcd;
  s.abcd = _mm_sha1rnds4_epu32(s.abcd, e, q / 5);
  if constexpr (q >= 3 && q <= 18)
    s.msg[(q + 1) % 4] = _mm_sha1msg2_epu32(s.msg[(q + 1) % 4], m);
  if constexpr (q >= 1 && q <= 16)
    s.msg[(q + 3) % 4] = _mm_sha1msg1_epu32(s.msg[(q + 3) % 4], m);
  if constexpr (q >= 2 && q <= 17)
    s.msg[(q + 2) % 4] = _mm_xor_si128(s.msg[(q + 2) % 4], m);
}

template <int... q>
[[gnu::target("sha,sse4.1"), gnu::always_inline]] inline void Sha1Quads(Sha1Lanes& s, const unsigned char* block,
                                                                        __m128i shuffle,
                                                                        std::integer_sequence<int, q...>) {
  (Sha1Quad<q>(s, block, shuffle), ...);
}

struct Sha256Lanes {
  __m128i abef;
  __m128i cdgh;
  __m128i msg[4];
};

// Rounds 4q..4q+3, two per sha256rnds2; the schedule runs alongside.
template <int q>
[[gnu::target("sha,sse4.1"), gnu::always_inline]] inline void Sha256Quad(Sha256Lanes& s, const unsigned char* block,
                                                                         __m128i shuffle) {
  if constexpr (q < 4)
    s.msg[q] = LoadWords(block + 16 * q, shuffle);
  const __m128i m = s.msg[q % 4];
  const __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(kSha256RoundConstants) + q);
  __m128i wk = _mm_add_epi32(m, k);
  s.cdgh = _mm_sha256rnds2_epu32(s.cdgh, s.abef, wk);
  if constexpr (q >= 3 && q <= 14) {
    __m128i& next = s.msg[(q + 1) % 4];
    next = _mm_add_epi32(next, _mm_alignr_epi8(m, s.msg[(q + 3) % 4], 4));
    next = _mm_sha256msg2_epu32(next, m);
  }
  wk = _mm_shuffle_epi32(wk, 0x0e);
  s.abef = _mm_sha256rnds2_epu32(s.abef, s.cdgh, wk);
  if constexpr (q >= 1 && q <= 12)
    s.msg[(q + 3) % 4] = _mm_sha256msg1_epu32(s.msg[(q + 3) % 4], m);
}

template <int... q>
[[gnu::target("sha,sse4.1"), gnu::always_inline]] inline void Sha256Quads(Sha256Lanes& s, const unsigned char* block,
                                                                          __m128i shuffle,
                                                                          std::integer_sequence<int, q...>) {
  (Sha256Quad<q>(s, block, shuffle), ...);
}

struct CpuFeatures {
  bool shaExtensions = false;
  bool avxBmi2 = false;
  bool avx512 = false;
};

// Reads the extended control register: whether the OS saves the vector
// state that AVX code would otherwise lose on a context switch.
[[gnu::target("xsave")]] uint64_t EnabledStateComponents() {
  return _xgetbv(0);
}

CpuFeatures DetectFeatures() {
  CpuFeatures features;
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
    return features;
  const bool ssse3 = (ecx & (1u << 9)) != 0;
  const bool sse41 = (ecx & (1u << 19)) != 0;
  const bool osxsave = (ecx & (1u << 27)) != 0;
  const bool avx = (ecx & (1u << 28)) != 0;
  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx))
    return features;
  const bool bmi1 = (ebx & (1u << 3)) != 0;
  const bool bmi2 = (ebx & (1u << 8)) != 0;
  const bool sha = (ebx & (1u << 29)) != 0;
  const bool avx512f = (ebx & (1u << 16)) != 0;
  const bool avx512vl = (ebx & (1u << 31)) != 0;
  features.shaExtensions = sha && ssse3 && sse41;
  // XMM and YMM state (bits 1 and 2) must both be enabled, and for AVX-512
  // the mask registers and upper ZMM halves too (bits 5 to 7). The register
  // can be read only where the OS says it uses it.
  constexpr uint64_t kAvxState = 0x06, kAvx512State = 0xe6;
  const uint64_t state = osxsave ? EnabledStateComponents() : 0;
  features.avxBmi2 = avx && bmi1 && bmi2 && (state & kAvxState) == kAvxState;
  features.avx512 = features.avxBmi2 && avx512f && avx512vl && (state & kAvx512State) == kAvx512State;
  return features;
}

// cpuid is slow, and in a virtual machine very slow: ask once.
const CpuFeatures& Features() {
  static const CpuFeatures features = DetectFeatures();
  return features;
}

// Flipped by tests between digests. Relaxed order is enough: both codes
// give the same results, so a digest may even see the switch halfway.
std::atomic<bool> g_accelerationAllowed{true};

}  // namespace

[[gnu::target("sha,sse4.1")]] void Sha1BlocksShaNi(uint32_t state[5], const unsigned char* data, uint64_t blockCount) {
  const __m128i shuffle = _mm_set_epi64x(0x0001020304050607, 0x08090a0b0c0d0e0f);
  Sha1Lanes s;
  s.abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1b);
  s.e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
  for (; blockCount != 0; --blockCount, data += 64) {
    const __m128i abcd = s.abcd;
    const __m128i e = s.e;
    Sha1Quads(s, data, shuffle, std::make_integer_sequence<int, 20>{});
    s.e = _mm_sha1nexte_epu32(s.last, e);
    s.abcd = _mm_add_epi32(s.abcd, abcd);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(s.abcd, 0x1b));
  state[4] = static_cast<uint32_t>(_mm_extract_epi32(s.e, 3));
}

[[gnu::target("sha,sse4.1")]] void Sha256BlocksShaNi(uint32_t state[8], const unsigned char* data,
                                                     uint64_t blockCount) {
  const __m128i shuffle = _mm_set_epi64x(0x0c0d0e0f08090a0b, 0x0405060700010203);
  // The instructions keep the state as ABEF and CDGH.
  const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xb1);
  const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1b);
  Sha256Lanes s;
  s.abef = _mm_alignr_epi8(dcba, efgh, 8);
  s.cdgh = _mm_blend_epi16(efgh, dcba, 0xf0);
  for (; blockCount != 0; --blockCount, data += 64) {
    const __m128i abef = s.abef;
    const __m128i cdgh = s.cdgh;
    Sha256Quads(s, data, shuffle, std::make_integer_sequence<int, 16>{});
    s.abef = _mm_add_epi32(s.abef, abef);
    s.cdgh = _mm_add_epi32(s.cdgh, cdgh);
  }
  const __m128i feba = _mm_shuffle_epi32(s.abef, 0x1b);
  const __m128i dchg = _mm_shuffle_epi32(s.cdgh, 0xb1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xf0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

[[gnu::target("avx,bmi,bmi2")]] void Sha512BlocksAvxBmi2(uint64_t state[8], const unsigned char* data,
                                                         uint64_t blockCount) {
  Sha512CompressBlocks(state, data, blockCount);
}

// The schedule's rotations each become one instruction (vprorq): about a
// twentieth faster than the AVX build, as fast as OpenSSL's.
[[gnu::target("avx512f,avx512vl,bmi,bmi2")]] void Sha512BlocksAvx512(uint64_t state[8], const unsigned char* data,
                                                                     uint64_t blockCount) {
  Sha512CompressBlocks(state, data, blockCount);
}

bool CpuHasShaExtensions() {
  return Features().shaExtensions;
}

bool CpuHasAvxBmi2() {
  return Features().avxBmi2;
}

bool CpuHasAvx512() {
  return Features().avx512;
}

void DigestAllowAcceleration(bool allow) {
  g_accelerationAllowed.store(allow, std::memory_order_relaxed);
}

bool DigestAccelerationAllowed() {
  return g_accelerationAllowed.load(std::memory_order_relaxed);
}
