// Every split of a message gives the portable one-shot digest, on the portable and the accelerated code; libcrypto
// (oracle_test.cpp) and the checksum files of the conversion tests check the digests themselves.
#include "digest/digest_testing.h"

namespace {

// Lengths where a 64- or 128-byte block fills up (the oracle test has the padding cases), in one pass and in pieces of
// many sizes, empty ones among them: pieces end at every offset of the buffer, whole blocks follow a partial one.
TEST_P(DigestEngineTest, AnyPiecesGiveThePortableDigest) {
  const Bytes message = RandomBytes(5000, 2);
  for (size_t length : {0, 1, 63, 64, 65, 127, 128, 129, 191, 192, 193, 255, 256, 257, 5000}) {
    DigestAllowAcceleration(false);
    const std::string portable = Digest(Info(), message.data(), length);
    DigestAllowAcceleration(GetParam().second);
    for (const std::vector<uint64_t>& sizes : std::vector<std::vector<uint64_t>>{
             {}, {1}, {63}, {64}, {65}, {127}, {128}, {129}, {1, 63, 0, 64, 65, 7, 0, 200}, {300, 0, 129, 3}})
      EXPECT_EQ(Digest(Info(), message.data(), length, sizes), portable) << length << testing::PrintToString(sizes);
  }
}

INSTANTIATE_TEST_SUITE_P(Digests, DigestEngineTest, testing::ValuesIn(Engines()), EngineName);

}  // namespace
