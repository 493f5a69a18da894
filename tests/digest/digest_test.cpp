// The digests against the published vectors, in any split of the message,
// on the portable and the accelerated code.

#include "digest/digest_testing.h"

#include <array>

namespace {

using namespace digest_test;

const std::string kEmpty, kAbc = "abc";
const std::string k448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
const std::string k896 =
    "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmn"
    "hijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";
const std::string kMillionA(1000000, 'a');

// RFC 1321 and FIPS 180-4 examples; the digests in the order of kDigests.
struct Vector {
  const std::string& message;
  std::array<const char*, 4> hex;
};

const Vector kVectors[] = {
    {kEmpty, {"d41d8cd98f00b204e9800998ecf8427e", "da39a3ee5e6b4b0d3255bfef95601890afd80709",
      "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
      "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
      "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e"}},
    {kAbc, {"900150983cd24fb0d6963f7d28e17f72", "a9993e364706816aba3e25717850c26c9cd0d89d",
      "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
      "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
      "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"}},
    {k448, {"8215ef0796a20bcaaae116d3876c664a", "84983e441c3bd26ebaae4aa1f95129e5e54670f1",
      "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1",
      "204a8fc6dda82f0a0ced7beb8e08a41657c16ef468b228a8279be331a703c335"
      "96fd15c13b1b07f9aa1d3bea57789ca031ad85c7a71dd70354ec631238ca3445"}},
    {k896, {"03dd8807a93175fb062dfb55dc7d359c", "a49b2446a02c645bf419f995b67091253a04a259",
      "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1",
      "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
      "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909"}},
    {kMillionA, {"7707d6ae4e027c70eea2a935c2296f21", "34aa973cd4c4daa4f61eeb2bdbad27316534016f",
      "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0",
      "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973eb"
      "de0ff244877ea60a4cb0432ce577c31beb009c5c2c49aa2e4eadb217ad8cc09b"}},
};

TEST_P(DigestEngineTest, PublishedVectors) {
  for (const Vector& vector : kVectors) {
    const auto* data = reinterpret_cast<const unsigned char*>(vector.message.data());
    EXPECT_EQ(OneShot(Info(), data, vector.message.size()), vector.hex[static_cast<size_t>(GetParam().kind)])
        << "message of " << vector.message.size() << " bytes";
  }
}

// Lengths where the padding or a block fills up, for 64- and 128-byte
// blocks, each cut in two at every byte.
TEST_P(DigestEngineTest, EveryCutInTwoGivesTheOneShotDigest) {
  for (size_t length : {0, 1, 55, 56, 57, 63, 64, 65, 111, 112, 113, 119, 120, 127, 128, 129, 191, 192, 193, 239,
                        240, 255, 256, 257}) {
    const Bytes message = RandomBytes(length, static_cast<uint32_t>(length));
    const std::string whole = OneShot(Info(), message.data(), length);
    for (size_t cut = 0; cut <= length; ++cut)
      ASSERT_EQ(InPieces(Info(), Cut(message.data(), length, {cut, length - cut})), whole) << length << " bytes cut at " << cut;
  }
}

// Pieces of many sizes, empty ones among them, so that blocks start at every
// offset of the buffer; the reference is the portable code in one pass, which
// the accelerated code must match over many blocks at once.
TEST_P(DigestEngineTest, AnyPiecesGiveThePortableDigest) {
  const Bytes message = RandomBytes(5000, 2);
  DigestAllowAcceleration(false);
  const std::string portable = OneShot(Info(), message.data(), message.size());
  DigestAllowAcceleration(GetParam().accelerated);
  EXPECT_EQ(OneShot(Info(), message.data(), message.size()), portable);
  const std::vector<std::vector<uint64_t>> patterns = {{1}, {7}, {63}, {64}, {65}, {127}, {128}, {129},
                                                     {1, 63, 0, 64, 65, 7, 0, 200}, {300, 0, 129, 3}};
  for (const std::vector<uint64_t>& sizes : patterns)
    EXPECT_EQ(InPieces(Info(), Cut(message.data(), message.size(), sizes)), portable) << "pieces of " << testing::PrintToString(sizes);
}

INSTANTIATE_TEST_SUITE_P(Digests, DigestEngineTest, testing::ValuesIn(Engines()), EngineName);

}  // namespace
