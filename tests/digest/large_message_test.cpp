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

#include "digest/digest.h"

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

Bytes DigestOf(const DigestInfo& info, const Pieces& pieces) {
  DigestContext ctx;
  info.init(ctx);
  for (const auto& [data, count] : pieces)
    info.update(ctx, data, count);
  Bytes digest(info.size);
  info.final(ctx, digest.data());
  return digest;
}

Bytes OracleOf(const DigestInfo& info, const Pieces& pieces) {
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> ctx(EVP_MD_CTX_new(),
                                                         EVP_MD_CTX_free);
  EXPECT_EQ(EVP_DigestInit_ex(ctx.get(), EVP_get_digestbyname(info.name), nullptr), 1);
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
  for (const DigestInfo& info : kDigests)
    EXPECT_EQ(DigestOf(info, pieces), OracleOf(info, pieces)) << info.name;
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
  for (const DigestInfo& info : kDigests) {
    Bytes digest(info.size);
    info.compute(message.get(), kMessageSize, digest.data());
    EXPECT_EQ(digest, OracleOf(info, whole)) << info.name;
  }
}

}  // namespace
