// The rows of a C++ string literal that holds a buffer's bytes: one quoted
// literal a line, the lines joined into one literal by the compiler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the rows are made of: `bytesPerRow` bytes of the buffer a line (the
// last line may hold fewer), each line opened by `indent` spaces.
struct StringLiteralLayout {
  const unsigned char* bytes;
  size_t count;
  size_t bytesPerRow;  // at least 1
  size_t indent;
};

// Longest literal that every C++ compiler must accept; Clang's -pedantic
// warns about longer ones.
constexpr size_t kPortableStringLiteralLength = 65536;

// Bytes a line when no row width is chosen: a compiler reads fewer, longer
// literals faster, and a line still stays under 270 characters.
constexpr size_t kDefaultStringLiteralRowWidth = 64;

// Returns the number of lines; an empty buffer still has one, "".
size_t StringLiteralRowCount(const StringLiteralLayout& layout);

// Returns the exact length of all lines, joined by line feeds, without a
// line feed after the last one.
uint64_t StringLiteralLength(const StringLiteralLayout& layout);

// Returns the most room that writing one line (and its line feed) may need.
size_t StringLiteralRowRoom(const StringLiteralLayout& layout);

// Writes whole lines from line `row` on while at least a line's room is
// left in `out`, advancing `row`; returns the length written, 0 when no line
// is left or `capacity` is below StringLiteralRowRoom().
size_t WriteStringLiteralRows(const StringLiteralLayout& layout, size_t& row, char* out, size_t capacity);

// Returns the text as one quoted literal on one line: any byte (a quote, a
// backslash, "*/", "??=", a line feed, bytes outside ASCII) survives it.
std::string QuotedStringLiteral(std::string_view text);

// Appends the number in decimal, as std::to_string writes it.
void AppendDecimal(std::string& text, uint64_t value);

// Appends `std::string_view(` the quoted text `, ` its length `)`, a view
// that a constant-initialised table can hold.
void AppendViewLiteral(std::string& text, std::string_view view);
