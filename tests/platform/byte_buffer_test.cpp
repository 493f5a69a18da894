#include "platform/byte_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

std::string Bytes(const ByteBuffer& buffer) {
  return {reinterpret_cast<const char*>(buffer.data()), buffer.size()};
}

bool Empty(const ByteBuffer& buffer) {
  return buffer.data() == nullptr && buffer.size() == 0;
}

// The bytes go with the buffer; the one they left, and a cleared one, are empty.
TEST(ByteBuffer, MovedFromAndClearedBuffersAreEmpty) {
  ByteBuffer first, third;
  first.Assign("abc", 3);
  ByteBuffer second(std::move(first));
  third.Assign("x", 1);
  third = std::move(second);
  EXPECT_EQ(Bytes(third), "abc");
  for (const ByteBuffer* emptied : {&first, &second})
    EXPECT_TRUE(Empty(*emptied));
  third.Clear();
  EXPECT_TRUE(Empty(third));
}

}  // namespace
