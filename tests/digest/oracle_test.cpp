// The digests against libcrypto on every padding case and on random lengths.
#include <openssl/evp.h>

#include "digest/digest_testing.h"

namespace {

using namespace digest_test;

class DigestOracleTest : public DigestEngineTest {};

// Each length up to a few blocks, the ones where the length field (an eighth of a block) or the block fills up far into
// a longer message, a million bytes, and random lengths.
TEST_P(DigestOracleTest, EveryLengthMatchesOracle) {
  const size_t block = Info().blockSize, field = block / 8, far = 64 * 1024, million = 1000000;
  const Bytes message = RandomBytes(million, 1);
  std::vector<size_t> lengths = {million};
  for (size_t length = 0; length <= 300; ++length)
    lengths.push_back(length);
  for (size_t edge : {block - field - 1, block - field, block - 1, block, block + 1})
    lengths.push_back(far + edge);
  std::mt19937 generator(3);
  for (int i = 0; i < 20; ++i)
    lengths.push_back(generator() % far);
  for (size_t length : lengths) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(message.data(), length, digest, &size, EVP_get_digestbyname(Info().name), nullptr);
    EXPECT_EQ(OneShot(Info(), message.data(), length), HexOf(digest, size)) << "length " << length;
  }
}

INSTANTIATE_TEST_SUITE_P(Digests, DigestOracleTest, testing::ValuesIn(Engines()), EngineName);

}  // namespace
