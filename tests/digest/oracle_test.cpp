// The digests against libcrypto in one pass; the digests fuzz target feeds them in pieces.
#include <openssl/evp.h>

#include "digest/cpu_dispatch.h"
#include "digest/digest_testing.h"
#include "digest/sha512.h"

namespace {

// Each length up to a few blocks, the same past a long run of blocks, where the length field (an eighth of a block)
// holds a larger count, and a million bytes; on the portable code and, where this CPU runs it, the accelerated code.
TEST(Digests, EveryLengthMatchesOracle) {
  constexpr size_t kFar = 8192, kMillion = 1000000;
  const Bytes message = RandomBytes(kMillion, 1);
  std::vector<size_t> lengths = {kMillion};
  for (size_t length = 0; length <= 300; ++length)
    lengths.insert(lengths.end(), {length, kFar + length});
  for (const DigestInfo& info : kDigests)
    for (const bool accelerated : {false, info.accelerated()}) {
      SCOPED_TRACE(std::string(info.name) + (accelerated ? " accelerated" : " portable"));
      DigestAllowAcceleration(accelerated);
      for (size_t length : lengths) {
        // Past its real length the oracle holds zeros and Digest() the canary, so a wrong info.size shows.
        unsigned char digest[EVP_MAX_MD_SIZE] = {};
        EVP_Digest(message.data(), length, digest, nullptr, EVP_get_digestbyname(info.name), nullptr);
        EXPECT_EQ(Digest(info, message.data(), length), Hex({reinterpret_cast<char*>(digest), info.size})) << length;
      }
    }
  DigestAllowAcceleration(true);
}

// The engine runs the widest SHA-512 build the CPU has; each narrower one it has still compresses as the portable one.
TEST(Sha512Builds, EachThatTheCpuRunsCompressesAsThePortableOne) {
  constexpr uint64_t kBlocks = 40;
  const Bytes message = RandomBytes(kBlocks * kSha512BlockSize, 2);
  const std::pair<bool, void (*)(uint64_t[8], const unsigned char*, uint64_t)> builds[] = {
      {CpuHasAvxBmi2(), Sha512BlocksAvxBmi2}, {CpuHasAvx512(), Sha512BlocksAvx512}};
  for (const auto& [runs, blocks] : builds) {
    uint64_t expected[8] = {1, 2, 3, 4, 5, 6, 7, 8}, got[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    Sha512BlocksPortable(expected, message.data(), kBlocks);
    (runs ? blocks : Sha512BlocksPortable)(got, message.data(), kBlocks);
    EXPECT_TRUE(std::equal(got, got + 8, expected));
  }
}

}  // namespace
