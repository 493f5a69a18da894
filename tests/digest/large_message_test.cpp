// Messages past 4 GiB, where 32-bit byte and bit counts would wrap.
#include <openssl/evp.h>

#include <cstring>
#include <memory>
#include <new>

#include "digest/digest_testing.h"

namespace {

// Not a multiple of any block size, so that blocks straddle the pieces and the 4 GiB mark; the message repeats a
// pattern that is no multiple of a block either, so a lost or repeated block changes the digest.
constexpr uint64_t kMessageSize = (uint64_t{4} << 30) + (1 << 20) + 3;
constexpr uint64_t kPatternSize = (1 << 20) + 13;

TEST(LargeMessageTest, MatchesTheOracle) {
  std::unique_ptr<unsigned char[]> message(new (std::nothrow) unsigned char[kMessageSize]);
  if (!message)
    GTEST_SKIP() << "no memory for a " << kMessageSize << "-byte message";
  const Bytes pattern = RandomBytes(kPatternSize, 7);
  for (uint64_t at = 0; at < kMessageSize; at += kPatternSize)
    std::memcpy(message.get() + at, pattern.data(), std::min(kPatternSize, kMessageSize - at));
  for (const DigestInfo& info : kDigests) {
    unsigned char digest[EVP_MAX_MD_SIZE] = {};
    EVP_Digest(message.get(), kMessageSize, digest, nullptr, EVP_get_digestbyname(info.name), nullptr);
    for (const std::vector<uint64_t>& sizes : {std::vector<uint64_t>{}, {kPatternSize + 5, 1, 65536 + 5, 127, 300000}})
      EXPECT_EQ(Digest(info, message.get(), kMessageSize, sizes), Hex({reinterpret_cast<char*>(digest), info.size}));
  }
}

}  // namespace
