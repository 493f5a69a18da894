// The digest engines against libcrypto on every padding case.

#include <openssl/evp.h>

#include "digest/engines.h"

namespace {

using namespace digest_test;

template <typename Engine>
const EVP_MD* Oracle() {
  switch (Engine::kDigestSize) {
    case 16: return EVP_md5();
    case 20: return EVP_sha1();
    case 32: return EVP_sha256();
    default: return EVP_sha512();
  }
}

template <typename Engine>
Bytes OracleOf(const unsigned char* data, size_t count) {
  Bytes digest(EVP_MAX_MD_SIZE);
  unsigned int size = 0;
  EXPECT_EQ(EVP_Digest(data, count, digest.data(), &size, Oracle<Engine>(),
                       nullptr),
            1);
  digest.resize(size);
  return digest;
}

template <typename Engine>
class DigestOracleTest : public DigestTest<Engine> {};
TYPED_TEST_SUITE(DigestOracleTest, Engines);

// Every padding case: each length up to a few blocks, then again the ones
// where the length field (an eighth of a block) or the block fills up, far
// into a longer message.
TYPED_TEST(DigestOracleTest, EveryLengthMatchesOracle) {
  const int block = TypeParam::kBlockSize;
  const int field = block / 8;
  const size_t far = 64 * 1024;
  const Bytes message = RandomBytes(far + 2 * block, 1);
  std::vector<size_t> lengths;
  for (size_t length = 0; length <= 300; ++length)
    lengths.push_back(length);
  for (int edge :
       {block - field - 1, block - field, block - 1, block, block + 1})
    lengths.push_back(far + edge);

  for (size_t length : lengths) {
    EXPECT_EQ(Hex(DigestOf<TypeParam>(message.data(), length)),
              Hex(OracleOf<TypeParam>(message.data(), length)))
        << "length " << length;
  }
}

}  // namespace
