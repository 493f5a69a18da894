#include "platform/gzip.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kText = "Hexloom embeds files. Hexloom embeds files. Hexloom embeds files.\n";

std::string Member(const std::string& text, size_t limit) {
  ByteBuffer out;
  const bool fits = GzipWithin(reinterpret_cast<const unsigned char*>(text.data()), text.size(), limit, out);
  return fits ? std::string(reinterpret_cast<const char*>(out.data()), out.size()) : "refused";
}

// The header is fixed (no time, no name, OS unknown) and the member fits its limit exactly or is refused.
TEST(Gzip, ReproducibleMembersWithinTheLimit) {
  if (!GzipAvailable())
    GTEST_SKIP() << "built without zlib";
  const std::string member = Member(kText, kText.size());
  EXPECT_EQ(member.substr(0, 10), std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\xff", 10));
  EXPECT_EQ(Member(kText, member.size()), member);
  EXPECT_EQ(Member(kText, member.size() - 1), "refused");
}

}  // namespace
