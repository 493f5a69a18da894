// The digest engines against the published test vectors, in any split of
// the message, and the accelerated code against the portable code.

#include "digest/engines.h"

namespace {

using namespace digest_test;

TYPED_TEST_SUITE(DigestTest, Engines);

TYPED_TEST(DigestTest, PublishedVectors) {
  for (const KnownAnswer& known : TypeParam::Known()) {
    EXPECT_EQ(Hex(DigestOf<TypeParam>(Data(known.message),
                                      known.message.size())),
              known.hex)
        << "message of " << known.message.size() << " bytes";
  }
}

TYPED_TEST(DigestTest, AnySplitGivesTheSameDigest) {
  const Bytes message = RandomBytes(5000, 2);
  const Bytes whole = DigestOf<TypeParam>(message.data(), message.size());

  for (size_t piece : {1, 7, 63, 64, 65}) {
    typename TypeParam::Ctx ctx;
    TypeParam::Init(ctx);
    TypeParam::Update(ctx, nullptr, 0);
    for (size_t at = 0; at < message.size(); at += piece) {
      TypeParam::Update(ctx, message.data() + at,
                        std::min(piece, message.size() - at));
      TypeParam::Update(ctx, message.data() + at, 0);
    }
    Bytes digest(TypeParam::kDigestSize);
    TypeParam::Final(ctx, digest.data());
    EXPECT_EQ(Hex(digest), Hex(whole)) << "pieces of " << piece;
  }

  // Mixed sizes, so that blocks start at every offset within the buffer.
  typename TypeParam::Ctx ctx;
  TypeParam::Init(ctx);
  const size_t pieces[] = {1, 63, 0, 64, 65, 7, 0, 200};
  for (size_t at = 0, k = 0; at < message.size(); ++k) {
    const size_t size = std::min(pieces[k % 8], message.size() - at);
    TypeParam::Update(ctx, message.data() + at, size);
    at += size;
  }
  Bytes digest(TypeParam::kDigestSize);
  TypeParam::Final(ctx, digest.data());
  EXPECT_EQ(Hex(digest), Hex(whole)) << "mixed pieces";
}

TYPED_TEST(DigestTest, FinalWritesOnlyTheDigest) {
  const unsigned char kCanary = 0xa5;
  for (size_t length : {0, 55, 56, 111, 112, 1000}) {
    const Bytes message = RandomBytes(length, 3);
    Bytes out(TypeParam::kDigestSize + 16, kCanary);
    typename TypeParam::Ctx ctx;
    TypeParam::Init(ctx);
    TypeParam::Update(ctx, message.data(), message.size());
    TypeParam::Final(ctx, out.data());
    for (size_t i = TypeParam::kDigestSize; i < out.size(); ++i)
      ASSERT_EQ(out[i], kCanary) << "byte " << i << ", length " << length;
  }
}

TEST(Md5TransformTest, CompressesWholeBlocksOnly) {
  const Bytes message = RandomBytes(200, 4);
  Md5Context ctx;
  Md5Init(ctx);
  EXPECT_EQ(Md5Transform(ctx, message.data(), 200), message.data() + 192);
  EXPECT_EQ(Md5Transform(ctx, message.data(), 63), message.data());
}

// The two builds agree block for block, including on runs of many blocks
// compressed in one call.
TEST(AcceleratedBlocksTest, AgreeWithPortable) {
  if (!CpuHasShaExtensions() && !CpuHasAvxBmi2())
    GTEST_SKIP() << "this CPU cannot run the accelerated code";
  const Bytes data = RandomBytes(128 * 257, 5);
  for (uint64_t blocks : {1, 2, 257}) {
    if (CpuHasShaExtensions()) {
      uint32_t portable1[5] = {1, 2, 3, 4, 5}, fast1[5] = {1, 2, 3, 4, 5};
      Sha1BlocksPortable(portable1, data.data(), blocks);
      Sha1BlocksShaNi(fast1, data.data(), blocks);
      EXPECT_EQ(0, std::memcmp(portable1, fast1, sizeof fast1));

      uint32_t portable256[8] = {1, 2, 3, 4, 5, 6, 7, 8};
      uint32_t fast256[8] = {1, 2, 3, 4, 5, 6, 7, 8};
      Sha256BlocksPortable(portable256, data.data(), blocks);
      Sha256BlocksShaNi(fast256, data.data(), blocks);
      EXPECT_EQ(0, std::memcmp(portable256, fast256, sizeof fast256));
    }
    if (CpuHasAvxBmi2()) {
      uint64_t portable512[8] = {1, 2, 3, 4, 5, 6, 7, 8};
      uint64_t fast512[8] = {1, 2, 3, 4, 5, 6, 7, 8};
      Sha512BlocksPortable(portable512, data.data(), blocks);
      Sha512BlocksAvxBmi2(fast512, data.data(), blocks);
      EXPECT_EQ(0, std::memcmp(portable512, fast512, sizeof fast512));
    }
  }
}

}  // namespace
