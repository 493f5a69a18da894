// The digests against libcrypto on every padding case and on random lengths.

#include <openssl/evp.h>

#include "digest/digest_testing.h"

namespace {

using namespace digest_test;

std::string OracleOf(const DigestInfo& info, const unsigned char* data, size_t count) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(data, count, digest, &size, EVP_get_digestbyname(info.name), nullptr);
  return Hex(digest, size);
}

class DigestOracleTest : public DigestEngineTest {};

// Each length up to a few blocks, then again the ones where the length
// field (an eighth of a block) or the block fills up, far into a longer
// message, and random lengths up to that far.
TEST_P(DigestOracleTest, EveryLengthMatchesOracle) {
  const size_t block = Info().blockSize;
  const size_t field = block / 8;
  const size_t far = 64 * 1024;
  const Bytes message = RandomBytes(far + 2 * block, 1);
  std::vector<size_t> lengths;
  for (size_t length = 0; length <= 300; ++length)
    lengths.push_back(length);
  for (size_t edge : {block - field - 1, block - field, block - 1, block, block + 1})
    lengths.push_back(far + edge);
  std::mt19937 generator(3);
  for (int i = 0; i < 20; ++i)
    lengths.push_back(generator() % far);

  for (size_t length : lengths)
    EXPECT_EQ(OneShot(Info(), message.data(), length), OracleOf(Info(), message.data(), length))
        << "length " << length;
}

INSTANTIATE_TEST_SUITE_P(Digests, DigestOracleTest, testing::ValuesIn(Engines()), EngineName);

}  // namespace
