// Every split of a message gives the one-shot digest, on the portable and the accelerated code; libcrypto
// (oracle_test.cpp) and the checksum files of the conversion tests check the digests themselves.
#include "digest/digest_testing.h"

namespace {

using namespace digest_test;

// Lengths where the padding or a block fills up, for 64- and 128-byte blocks, each cut in two at every byte.
TEST_P(DigestEngineTest, EveryCutInTwoGivesTheOneShotDigest) {
  for (size_t length : {0, 1, 55, 56, 57, 63, 64, 65, 111, 112, 113, 119, 120, 127, 128, 129, 191, 192, 193, 239,
                        240, 255, 256, 257}) {
    const Bytes message = RandomBytes(length, static_cast<uint32_t>(length));
    const std::string whole = OneShot(Info(), message.data(), length);
    for (size_t cut = 0; cut <= length; ++cut)
      ASSERT_EQ(InPieces(Info(), Cut(message.data(), length, {cut, length - cut})), whole) << length << " cut at " << cut;
  }
}

// Pieces of many sizes, empty ones among them, so that blocks start at every offset of the buffer; the reference is the
// portable code in one pass.
TEST_P(DigestEngineTest, AnyPiecesGiveThePortableDigest) {
  const Bytes message = RandomBytes(5000, 2);
  DigestAllowAcceleration(false);
  const std::string portable = OneShot(Info(), message.data(), message.size());
  DigestAllowAcceleration(GetParam().second);
  EXPECT_EQ(OneShot(Info(), message.data(), message.size()), portable);
  for (const std::vector<uint64_t>& sizes : std::vector<std::vector<uint64_t>>{
           {1}, {63}, {64}, {65}, {127}, {128}, {129}, {1, 63, 0, 64, 65, 7, 0, 200}, {300, 0, 129, 3}})
    EXPECT_EQ(InPieces(Info(), Cut(message.data(), message.size(), sizes)), portable) << sizes.front();
}

INSTANTIATE_TEST_SUITE_P(Digests, DigestEngineTest, testing::ValuesIn(Engines()), EngineName);

}  // namespace
