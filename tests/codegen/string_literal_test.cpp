#include "codegen/string_literal.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::string Write(const Bytes& bytes, size_t bytesPerRow, size_t indent, size_t capacity = 1 << 16) {
  const StringLiteralLayout layout{bytes.data(), bytes.size(), bytesPerRow, indent};
  std::string text;
  std::vector<char> piece(capacity);
  size_t row = 0;
  while (size_t length = WriteStringLiteralRows(layout, row, piece.data(), capacity))
    text.append(piece.data(), length);
  EXPECT_EQ(text.size(), StringLiteralLength(layout));
  return text;
}

TEST(StringLiteral, GoldenText) {
  const Bytes bytes{'A', '0', 1, '"', '1', 0, '?', '\t', 0x7F, 0xFF, '9', '\\', 0x1B, 'z', '\n', 0x80, 0x08, '7'};
  EXPECT_EQ(Write(bytes, 16, 2), "  \"A0\\1\\\"1\\0\\?\\t\\177\\3779\\\\\\33z\\n\\200\"\n  \"\\b7\"");
}

TEST(StringLiteral, EscapesNeverSwallowTheNextCharacter) {
  const struct {
    Bytes bytes;
    const char* text;
  } cases[] = {
      {{0, '0'}, "\"\\0000\""},        {{7, '5'}, "\"\\a5\""},         {{0x1F, '9'}, "\"\\0379\""},
      {{0x1F, 'a'}, "\"\\37a\""},      {{0x1F, 'F'}, "\"\\37F\""},     {{0x7F, '0'}, "\"\\1770\""},
      {{'?', '?', '='}, "\"\\?\\?=\""}, {{'"', '\\'}, "\"\\\"\\\\\""}, {{'\'', ' ', '~'}, "\"' ~\""},
      {{}, "\"\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Write(c.bytes, 16, 0), c.text);
  // A digit on the next line starts another literal: no padding.
  EXPECT_EQ(Write({3, '4', 3}, 1, 1), " \"\\3\"\n \"4\"\n \"\\3\"");
}

TEST(StringLiteral, LengthAndRowsForEveryPieceSize) {
  std::mt19937 random(11);
  for (size_t size : {0, 1, 63, 64, 65, 4000}) {
    Bytes bytes(size);
    for (unsigned char& c : bytes)
      c = static_cast<unsigned char>(random() % 2 ? '0' + random() % 10 : random());
    for (size_t width : {1, 8, 64}) {
      for (size_t indent : {0, 4}) {
        const StringLiteralLayout layout{bytes.data(), size, width, indent};
        EXPECT_EQ(StringLiteralRowCount(layout), size ? (size + width - 1) / width : 1);
        const size_t room = StringLiteralRowRoom(layout);
        const std::string whole = Write(bytes, width, indent);
        EXPECT_EQ(whole.back(), '"');
        // Pure ASCII: no raw byte above 0x7F, no control character.
        for (unsigned char c : whole)
          ASSERT_TRUE(c == '\n' || (c >= ' ' && c <= '~')) << static_cast<int>(c);
        for (size_t capacity : {room, room + 5, 3 * room - 1})
          EXPECT_EQ(Write(bytes, width, indent, capacity), whole) << size << " " << width << " " << capacity;
        size_t row = 0;
        std::vector<char> piece(room);
        EXPECT_EQ(WriteStringLiteralRows(layout, row, piece.data(), room - 1), 0u);
        EXPECT_EQ(row, 0u);
      }
    }
  }
}

}  // namespace
