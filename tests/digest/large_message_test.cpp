// Messages past 4 GiB, where 32-bit byte and bit counts would wrap.

#include <openssl/evp.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha256.h"
#include "digest/sha512.h"

namespace {

using Bytes = std::vector<unsigned char>;
// A message as consecutive pieces of memory.
using Pieces = std::vector<std::pair<const unsigned char*, uint64_t>>;

// Not a multiple of any block size, so that blocks straddle the pieces and
// the 4 GiB mark.
constexpr uint64_t kMessageSize = (uint64_t{4} << 30) + (1 << 20) + 3;

// The message repeats this many pseudo-random bytes: no multiple of a
// block, so a lost or repeated block changes the digest.
constexpr uint64_t kPatternSize = (1 << 20) + 13;

Bytes MakePattern() {
  Bytes pattern(kPatternSize);
  uint64_t x = 0x9e3779b97f4a7c15;
  for (unsigned char& b : pattern) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    b = static_cast<unsigned char>(x >> 56);
  }
  return pattern;
}

template <typename Ctx, void (*Init)(Ctx&),
          void (*Update)(Ctx&, const unsigned char*, uint64_t),
          void (*Final)(Ctx&, unsigned char*), int kSize>
Bytes DigestPieces(const Pieces& pieces) {
  Ctx ctx;
  Init(ctx);
  for (const auto& [data, count] : pieces)
    Update(ctx, data, count);
  Bytes digest(kSize);
  Final(ctx, digest.data());
  return digest;
}

struct Engine {
  const char* name;
  Bytes (*digest)(const Pieces&);
  const EVP_MD* (*oracle)();
};

const Engine kEngines[] = {
    {"MD5",
     DigestPieces<Md5Context, Md5Init, Md5Update, Md5Final, kMd5DigestSize>,
     EVP_md5},
    {"SHA-1",
     DigestPieces<Sha1Context, Sha1Init, Sha1Update, Sha1Final,
                  kSha1DigestSize>,
     EVP_sha1},
    {"SHA-256",
     DigestPieces<Sha256Context, Sha256Init, Sha256Update, Sha256Final,
                  kSha256DigestSize>,
     EVP_sha256},
    {"SHA-512",
     DigestPieces<Sha512Context, Sha512Init, Sha512Update, Sha512Final,
                  kSha512DigestSize>,
     EVP_sha512},
};

Bytes OracleOf(const EVP_MD* md, const Pieces& pieces) {
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> ctx(EVP_MD_CTX_new(),
                                                         EVP_MD_CTX_free);
  EXPECT_EQ(EVP_DigestInit_ex(ctx.get(), md, nullptr), 1);
  for (const auto& [data, count] : pieces)
    EXPECT_EQ(EVP_DigestUpdate(ctx.get(), data, count), 1);
  Bytes digest(EVP_MAX_MD_SIZE);
  unsigned int size = 0;
  EXPECT_EQ(EVP_DigestFinal_ex(ctx.get(), digest.data(), &size), 1);
  digest.resize(size);
  return digest;
}

// The message walks through the pattern in pieces of uneven sizes, from
// one byte to a whole period.
TEST(LargeMessageTest, ChunkedUpdatesMatchOracle) {
  const Bytes pattern = MakePattern();
  const uint64_t cuts[] = {kPatternSize, 1, 65536 + 5, 127, 300000};
  Pieces pieces;
  for (uint64_t at = 0, k = 0; at < kMessageSize; ++k) {
    const uint64_t offset = at % kPatternSize;
    const uint64_t size = std::min(
        {cuts[k % 5], kPatternSize - offset, kMessageSize - at});
    pieces.emplace_back(pattern.data() + offset, size);
    at += size;
  }
  for (const Engine& engine : kEngines)
    EXPECT_EQ(engine.digest(pieces), OracleOf(engine.oracle(), pieces))
        << engine.name;
}

TEST(LargeMessageTest, SingleUpdateMatchesOracle) {
  std::unique_ptr<unsigned char[]> message(new (std::nothrow)
                                               unsigned char[kMessageSize]);
  if (!message)
    GTEST_SKIP() << "no memory for a " << kMessageSize << "-byte message";
  const Bytes pattern = MakePattern();
  for (uint64_t at = 0; at < kMessageSize; at += kPatternSize)
    std::memcpy(message.get() + at, pattern.data(),
                std::min(kPatternSize, kMessageSize - at));
  const Pieces whole = {{message.get(), kMessageSize}};
  for (const Engine& engine : kEngines)
    EXPECT_EQ(engine.digest(whole), OracleOf(engine.oracle(), whole))
        << engine.name;
}

}  // namespace
