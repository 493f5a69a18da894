// The four digest engines behind one face, for tests that hold for each of
// them, on the portable code and, where the CPU runs it, on the accelerated
// code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "digest/cpu_dispatch.h"
#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha256.h"
#include "digest/sha512.h"

namespace digest_test {


using Bytes = std::vector<unsigned char>;

inline const std::string kAbc = "abc";
inline const std::string k448 =
    "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
inline const std::string k896 =
    "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmn"
    "hijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";
inline const std::string kMillionA(1000000, 'a');

struct KnownAnswer {
  const std::string& message;
  const char* hex;
};

// One engine behind a common face, so each property is written once.
// Each engine adds which code it runs (kAccelerated), whether this CPU can
// run its accelerated code, its oracle and its published vectors.
template <typename Context, void (*kInit)(Context&),
          void (*kUpdate)(Context&, const unsigned char*, uint64_t),
          void (*kFinal)(Context&, unsigned char*), int kSize, int kBlock>
struct EngineOf {
  using Ctx = Context;
  static constexpr int kDigestSize = kSize;
  static constexpr int kBlockSize = kBlock;
  static void Init(Ctx& ctx) { kInit(ctx); }
  static void Update(Ctx& ctx, const unsigned char* data, uint64_t count) {
    kUpdate(ctx, data, count);
  }
  static void Final(Ctx& ctx, unsigned char* digest) { kFinal(ctx, digest); }
};

struct Md5 : EngineOf<Md5Context, Md5Init, Md5Update, Md5Final,
                      kMd5DigestSize, 64> {
  static constexpr bool kAccelerated = false;
  static bool CpuCanAccelerate() { return false; }
  static std::vector<KnownAnswer> Known() {
    // RFC 1321, appendix A.5.
    static const std::string a = "a", digits = "message digest",
                             alphabet = "abcdefghijklmnopqrstuvwxyz",
                             alnum =
                                 "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopq"
                                 "rstuvwxyz0123456789",
                             numbers(
                                 "123456789012345678901234567890123456789012"
                                 "34567890123456789012345678901234567890"),
                             empty;
    return {
        {empty, "d41d8cd98f00b204e9800998ecf8427e"},
        {a, "0cc175b9c0f1b6a831c399e269772661"},
        {kAbc, "900150983cd24fb0d6963f7d28e17f72"},
        {digits, "f96b697d7cb7938d525a2f31aaf161d0"},
        {alphabet, "c3fcd3d76192e4007dfb496cca67e13b"},
        {alnum, "d174ab98d277d9f5a5611c2c9f419d9f"},
        {numbers, "57edf4a22be3c955ac49da2e2107b67a"},
        {k448, "8215ef0796a20bcaaae116d3876c664a"},
        {kMillionA, "7707d6ae4e027c70eea2a935c2296f21"},
    };
  }
};

template <bool accelerated>
struct Sha1 : EngineOf<Sha1Context, Sha1Init, Sha1Update, Sha1Final,
                       kSha1DigestSize, 64> {
  static constexpr bool kAccelerated = accelerated;
  static bool CpuCanAccelerate() { return CpuHasShaExtensions(); }
  static std::vector<KnownAnswer> Known() {
    static const std::string empty;
    return {
        {empty, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {kAbc, "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {k448, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {k896, "a49b2446a02c645bf419f995b67091253a04a259"},
        {kMillionA, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
  }
};

template <bool accelerated>
struct Sha256 : EngineOf<Sha256Context, Sha256Init, Sha256Update,
                         Sha256Final, kSha256DigestSize, 64> {
  static constexpr bool kAccelerated = accelerated;
  static bool CpuCanAccelerate() { return CpuHasShaExtensions(); }
  static std::vector<KnownAnswer> Known() {
    static const std::string empty;
    return {
        {empty,
         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {kAbc,
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {k448,
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {k896,
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {kMillionA,
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
  }
};

template <bool accelerated>
struct Sha512 : EngineOf<Sha512Context, Sha512Init, Sha512Update,
                         Sha512Final, kSha512DigestSize, 128> {
  static constexpr bool kAccelerated = accelerated;
  static bool CpuCanAccelerate() { return CpuHasAvxBmi2(); }
  static std::vector<KnownAnswer> Known() {
    static const std::string empty;
    return {
        {empty,
         "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
         "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e"},
        {kAbc,
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
         "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
        {k448,
         "204a8fc6dda82f0a0ced7beb8e08a41657c16ef468b228a8279be331a703c335"
         "96fd15c13b1b07f9aa1d3bea57789ca031ad85c7a71dd70354ec631238ca3445"},
        {k896,
         "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
         "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909"},
        {kMillionA,
         "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973eb"
         "de0ff244877ea60a4cb0432ce577c31beb009c5c2c49aa2e4eadb217ad8cc09b"},
    };
  }
};

inline const unsigned char* Data(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

inline std::string Hex(const Bytes& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

inline Bytes RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  Bytes bytes(count);
  for (unsigned char& b : bytes)
    b = static_cast<unsigned char>(generator());
  return bytes;
}

template <typename Engine>
Bytes DigestOf(const unsigned char* data, uint64_t count) {
  typename Engine::Ctx ctx;
  Engine::Init(ctx);
  Engine::Update(ctx, data, count);
  Bytes digest(Engine::kDigestSize);
  Engine::Final(ctx, digest.data());
  return digest;
}

// Runs each engine's cases on its own code, allowing the accelerated code
// again afterwards.
template <typename Engine>
class DigestTest : public testing::Test {
 protected:
  void SetUp() override {
    if (Engine::kAccelerated && !Engine::CpuCanAccelerate())
      GTEST_SKIP() << "this CPU cannot run the accelerated code";
    DigestAllowAcceleration(Engine::kAccelerated);
  }
  void TearDown() override { DigestAllowAcceleration(true); }
};

// Distinct names, for readable test names.
struct Sha1Portable : Sha1<false> {};
struct Sha1Accelerated : Sha1<true> {};
struct Sha256Portable : Sha256<false> {};
struct Sha256Accelerated : Sha256<true> {};
struct Sha512Portable : Sha512<false> {};
struct Sha512Accelerated : Sha512<true> {};

using Engines =
    testing::Types<Md5, Sha1Portable, Sha1Accelerated, Sha256Portable,
                   Sha256Accelerated, Sha512Portable, Sha512Accelerated>;

}  // namespace digest_test
