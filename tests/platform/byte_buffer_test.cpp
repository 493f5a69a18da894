#include "platform/byte_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(ByteBuffer, MovedFromAndClearedBuffersAreEmpty) {
  ByteBuffer first, third;
  first.Assign("abc", 3);
  ByteBuffer second(std::move(first));
  third.Assign("x", 1);
  third = std::move(second);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(third.data()), third.size()), "abc");
  third.Clear();
  for (const ByteBuffer* emptied : {&first, &second, &third})
    EXPECT_TRUE(emptied->data() == nullptr && emptied->size() == 0);
}

}  // namespace
