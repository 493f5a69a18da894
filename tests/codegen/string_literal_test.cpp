#include "codegen/string_literal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// The rows written in pieces of `capacity` bytes; less than a row's room takes none.
std::string Write(const Bytes& bytes, size_t bytesPerRow, size_t indent, size_t capacity = 1 << 16) {
  const StringLiteralLayout layout{bytes.data(), bytes.size(), bytesPerRow, indent};
  std::string text;
  std::vector<char> piece(capacity);
  size_t row = 0;
  EXPECT_EQ(WriteStringLiteralRows(layout, row, piece.data(), StringLiteralRowRoom(layout) - 1), 0u);
  while (size_t length = WriteStringLiteralRows(layout, row, piece.data(), capacity))
    text.append(piece.data(), length);
  EXPECT_EQ(text.size(), StringLiteralLength(layout));
  return text;
}

TEST(StringLiteral, EveryKindOfByteAndEscapesBesideWhatCouldExtendThem) {
  // A digit on the next line starts another literal: no padding.
  EXPECT_EQ(Write({3, '4', 3}, 1, 1), " \"\\3\"\n \"4\"\n \"\\3\"");
  const std::pair<Bytes, const char*> cases[] = {
      {{'A', '0', 1, '"', '1', 0, '?', '\t', 0x7F, 0xFF, '9', '\\', 0x1B, 'z', '\n', 0x80, 0x08, '7'},
       "\"A0\\1\\\"1\\0\\?\\t\\177\\3779\\\\\\33z\\n\\200\"\n\"\\b7\""},
      {{0, '0'}, "\"\\0000\""},
      {{7, '5', '\v', '\f', '\r'}, "\"\\a5\\v\\f\\r\""},
      {{0x1F, '9'}, "\"\\0379\""},
      {{'\'', ' ', '~'}, "\"' ~\""},
      {{}, "\"\""},
  };
  for (const auto& [bytes, text] : cases)
    EXPECT_EQ(Write(bytes, 16, 0), text);
}

}  // namespace
