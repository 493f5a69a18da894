#include "codegen/string_literal.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// The longest text of one byte: a backslash and three octal digits.
constexpr size_t kMaxEscapeLength = 4;
// A line's two quotes and its line feed.
constexpr size_t kRowFrame = 3;

// Each byte's text, padded so that one fixed-size copy writes it; the
// writer then advances by its length.
struct EscapeTable {
  char text[256][kMaxEscapeLength];
  unsigned char length[256];
};

bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

// Printable ASCII stands for itself, except the quote and the backslash,
// which would end the literal or start an escape, and the question mark,
// which could start a trigraph before C++17. Control characters with a
// one-letter escape use it. Everything else is an octal escape: it stops
// after three digits, where a hexadecimal one runs on through every hex
// digit that follows. `beforeDigit` gives the three-digit form, which no
// following digit can extend.
constexpr EscapeTable MakeEscapeTable(bool beforeDigit) {
  EscapeTable table{};
  const char letters[] = "abtnvfr";  // bytes 7 to 13
  for (int value = 0; value < 256; ++value) {
    char* text = table.text[value];
    int length = 0;
    if (value == '"' || value == '\\' || value == '?') {
      text[length++] = '\\';
      text[length++] = static_cast<char>(value);
    } else if (value >= ' ' && value <= '~') {
      text[length++] = static_cast<char>(value);
    } else if (value >= '\a' && value <= '\r') {
      text[length++] = '\\';
      text[length++] = letters[value - '\a'];
    } else {
      text[length++] = '\\';
      if (value >= 64 || beforeDigit)
        text[length++] = static_cast<char>('0' + (value >> 6));
      if (value >= 8 || beforeDigit)
        text[length++] = static_cast<char>('0' + (value >> 3 & 7));
      text[length++] = static_cast<char>('0' + (value & 7));
    }
    table.length[value] = static_cast<unsigned char>(length);
  }
  return table;
}

constexpr EscapeTable kEscapes = MakeEscapeTable(false);
constexpr EscapeTable kEscapesBeforeDigit = MakeEscapeTable(true);

// The table for the byte at `i` of a line that ends before `end`.
const EscapeTable& TableAt(const unsigned char* bytes, size_t i, size_t end) {
  return i + 1 < end && IsDigit(bytes[i + 1]) ? kEscapesBeforeDigit : kEscapes;
}

// One line: the indentation and the quoted text of its bytes, with a line
// feed unless it is the last line.
char* WriteRow(const StringLiteralLayout& layout, size_t row, char* out) {
  std::memset(out, ' ', layout.indent);
  out += layout.indent;
  *out++ = '"';
  const size_t first = row * layout.bytesPerRow;
  const size_t end = std::min(first + layout.bytesPerRow, layout.count);
  for (size_t i = first; i < end; ++i) {
    const EscapeTable& table = TableAt(layout.bytes, i, end);
    const unsigned char value = layout.bytes[i];
    std::memcpy(out, table.text[value], kMaxEscapeLength);
    out += table.length[value];
  }
  *out++ = '"';
  if (end < layout.count)
    *out++ = '\n';
  return out;
}

}  // namespace

size_t StringLiteralRowCount(const StringLiteralLayout& layout) {
  return std::max<size_t>(1, (layout.count + layout.bytesPerRow - 1) / layout.bytesPerRow);
}

uint64_t StringLiteralLength(const StringLiteralLayout& layout) {
  const size_t rows = StringLiteralRowCount(layout);
  uint64_t length = uint64_t{rows} * (layout.indent + kRowFrame) - 1;
  for (size_t first = 0; first < layout.count; first += layout.bytesPerRow) {
    const size_t end = std::min(first + layout.bytesPerRow, layout.count);
    for (size_t i = first; i < end; ++i)
      length += TableAt(layout.bytes, i, end).length[layout.bytes[i]];
  }
  return length;
}

size_t StringLiteralRowRoom(const StringLiteralLayout& layout) {
  return layout.indent + kRowFrame + layout.bytesPerRow * kMaxEscapeLength;
}

size_t WriteStringLiteralRows(const StringLiteralLayout& layout, size_t& row, char* out, size_t capacity) {
  const size_t rows = StringLiteralRowCount(layout);
  const size_t room = StringLiteralRowRoom(layout);
  char* cursor = out;
  const char* end = out + capacity;
  while (row < rows && static_cast<size_t>(end - cursor) >= room)
    cursor = WriteRow(layout, row++, cursor);
  return static_cast<size_t>(cursor - out);
}

std::string QuotedStringLiteral(std::string_view text) {
  const StringLiteralLayout layout{reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                   std::max<size_t>(text.size(), 1), 0};
  std::string literal(StringLiteralRowRoom(layout), '\0');
  size_t row = 0;
  literal.resize(WriteStringLiteralRows(layout, row, literal.data(), literal.size()));
  return literal;
}

void AppendDecimal(std::string& text, uint64_t value) {
  char digits[20];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendViewLiteral(std::string& text, std::string_view view) {
  text += "std::string_view(";
  text += QuotedStringLiteral(view);
  text += ", ";
  AppendDecimal(text, view.size());
  text += ')';
}
