#include "codegen/data_source.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "codegen/banner.h"
#include "codegen/incbin_text.h"
#include "codegen/string_literal.h"

// Every element text with its ", " separator, padded to eight bytes so that
// one fixed-size copy writes it; the writer then advances by its length.
struct ElementTable {
  char text[256][8];
  unsigned char length[256];
  bool hex;
};

namespace {

// Around a literal longer than C++ promises to accept: GCC and Clang take
// any length, but Clang's -pedantic says so. The guard keeps other
// compilers from seeing a pragma that they don't know.
const char kLongLiteralOpen[] =
    "#ifdef __GNUC__\n#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored \"-Woverlength-strings\"\n#endif\n";
const char kLongLiteralClose[] = "\n#ifdef __GNUC__\n#pragma GCC diagnostic pop\n#endif";

constexpr ElementTable MakeHexTable() {
  ElementTable table{};
  const char digits[] = "0123456789ABCDEF";
  for (int value = 0; value < 256; ++value) {
    char* text = table.text[value];
    text[0] = '0';
    text[1] = 'x';
    text[2] = digits[value >> 4];
    text[3] = digits[value & 15];
    text[4] = ',';
    text[5] = ' ';
    table.length[value] = 6;
  }
  table.hex = true;
  return table;
}

constexpr ElementTable MakeDecimalTable() {
  ElementTable table{};
  for (int value = 0; value < 256; ++value) {
    char* text = table.text[value];
    int length = 0;
    if (value >= 100)
      text[length++] = static_cast<char>('0' + value / 100);
    if (value >= 10)
      text[length++] = static_cast<char>('0' + value / 10 % 10);
    text[length++] = static_cast<char>('0' + value % 10);
    text[length++] = ',';
    text[length++] = ' ';
    table.length[value] = static_cast<unsigned char>(length);
  }
  table.hex = false;
  return table;
}

constexpr ElementTable kHexTable = MakeHexTable();
constexpr ElementTable kDecimalTable = MakeDecimalTable();

// Length of all elements with their separators, the last one's included.
uint64_t ElementsLength(const unsigned char* bytes, size_t count, const ElementTable& table) {
  if (table.hex)
    return uint64_t{count} * 6;
  uint64_t length = 0;
  for (size_t i = 0; i < count; ++i)
    length += table.length[bytes[i]];
  return length;
}

size_t CopyPart(const std::string& part, size_t& done, char*& out, const char* end) {
  size_t length = std::min(part.size() - done, static_cast<size_t>(end - out));
  std::memcpy(out, part.data() + done, length);
  out += length;
  done += length;
  return length;
}

}  // namespace

std::string LowercaseHex(const unsigned char* bytes, size_t length) {
  static const char digits[] = "0123456789abcdef";
  std::string text(length * 2, '\0');
  for (size_t i = 0; i < length; ++i) {
    text[2 * i] = digits[bytes[i] >> 4];
    text[2 * i + 1] = digits[bytes[i] & 15];
  }
  return text;
}

DataSourceText::DataSourceText(const ByteBuffer& buffer, const std::string& identifier, const SourceStyle& style,
                               ArrayPlace place, const IncbinFile* incbin)
    : indent_(static_cast<size_t>(std::max(style.tabSize, 0)), ' '), bytes_(buffer.data()), count_(buffer.size()) {
  if (style.incbin) {
    // The assembler reads the bytes: the text is short and has no rows.
    head_ = BuildIncbinText(*incbin, count_, identifier, style, place);
    count_ = rowCount_ = 0;
    table_ = &kHexTable;
    size_ = head_.size();
    return;
  }
  const bool longLiteral = style.stringLiteral && count_ > kPortableStringLiteralLength;
  const bool part = place == ArrayPlace::CataloguePart;
  MakeHead(identifier, style, longLiteral, part);
  const uint64_t rowsLength = LayOutRows(style);
  MakeTail(style, longLiteral, part);
  size_ = head_.size() + rowsLength + tail_.size();
}

// From the banner to the opening brace of the data, the one of the lambda's
// array when a vector is made from a literal.
void DataSourceText::MakeHead(const std::string& identifier, const SourceStyle& s, bool longLiteral, bool part) {
  // A catalogue's part sits in a source that is already inside its
  // namespace.
  if (!part) {
    AppendBanner(head_);
    if (s.useVector)
      head_ += "#include <vector>\n\n";
    if (!s.noNamespace)
      AppendNamespaceOpen(head_, s);
    if (s.digestComment) {
      head_ += "// ";
      head_ += LowercaseHex(bytes_, count_);
      head_ += "\n";
    }
  }
  if (longLiteral)
    head_ += kLongLiteralOpen;
  AppendAlignment(head_, s);
  // A namespace-scope const has internal linkage unless declared extern,
  // and this file doesn't include its header: without extern the header's
  // declaration would never link. A catalogue's arrays are meant to stay
  // inside their file.
  if (!s.dynamicData)
    head_ += part ? "const " : "extern const ";
  head_ += s.useVector ? "std::vector<unsigned char> " : "unsigned char ";
  head_ += identifier;
  head_ += s.useVector ? " =" : "[] =";
  // A vector can't be initialised from a literal: a lambda copies it from a
  // static array, leaving out the terminating zero.
  const bool literalVector = s.stringLiteral && s.useVector;
  if (literalVector)
    head_ += " []";
  head_ += s.braceWrap ? "\n{\n" : " {\n";
  if (literalVector) {
    head_ += indent_;
    head_ += "static const unsigned char text[] =";
    head_ += s.braceWrap ? "\n" + indent_ + "{\n" : " {\n";
  }
}

// How the elements fall into rows; returns the length of all rows.
uint64_t DataSourceText::LayOutRows(const SourceStyle& s) {
  // A zero-size array is not standard C++: the array of an empty input
  // holds one zero element, while its header's size constant says 0. An
  // empty vector is valid and keeps its empty row; an empty literal holds
  // its terminating zero already.
  static const unsigned char kLoneZero = 0;
  if (count_ == 0 && !s.useVector && !s.stringLiteral) {
    bytes_ = &kLoneZero;
    count_ = 1;
  }
  table_ = s.hexOutput ? &kHexTable : &kDecimalTable;
  rowWidth_ = static_cast<size_t>(s.rowWidth);
  if (s.stringLiteral) {
    if (!s.rowWidthChosen)
      rowWidth_ = kDefaultStringLiteralRowWidth;
    // The literal of a vector sits in a lambda, one indentation deeper.
    literal_ = StringLiteralLayout{bytes_, count_, rowWidth_, indent_.size() * (s.useVector ? 2 : 1)};
    rowCount_ = StringLiteralRowCount(*literal_);
    return StringLiteralLength(*literal_);
  }
  rowCount_ = (count_ + rowWidth_ - 1) / rowWidth_;
  rowRoom_ = indent_.size() + rowWidth_ * 8 + 1;
  if (count_ == 0)
    return 0;
  return uint64_t{indent_.size()} * rowCount_ + (rowCount_ - 1) + ElementsLength(bytes_, count_, *table_) - 2;
}

// From the closing brace of the data on, after the rows.
void DataSourceText::MakeTail(const SourceStyle& s, bool longLiteral, bool part) {
  // With no element (an empty vector) the text still holds the indentation
  // of its one row.
  if (count_ == 0 && !s.stringLiteral)
    tail_ = indent_;
  if (s.stringLiteral && s.useVector)
    tail_ +=
        "\n" + indent_ + "};\n" + indent_ + "return std::vector<unsigned char>(text, text + sizeof text - 1);\n}();";
  else
    tail_ += "\n};";
  if (longLiteral)
    tail_ += kLongLiteralClose;
  if (part)
    tail_ += "\n";
  else
    tail_ += s.noNamespace ? (longLiteral ? "\n" : "") : "\n}\n";
}

void DataSourceText::Rewind() {
  headDone_ = rowsDone_ = tailDone_ = 0;
}

// One row: the indentation, its elements each followed by ", " except the
// very last of the buffer, and a line feed unless it is the last row.
char* DataSourceText::WriteRow(char* out, size_t row) const {
  std::memcpy(out, indent_.data(), indent_.size());
  out += indent_.size();
  const size_t first = row * rowWidth_;
  const size_t end = std::min(first + rowWidth_, count_);
  const ElementTable& table = *table_;
  for (size_t i = first; i < end; ++i) {
    std::memcpy(out, table.text[bytes_[i]], 8);
    out += table.length[bytes_[i]];
  }
  if (end == count_)
    return out - 2;
  *out++ = '\n';
  return out;
}

size_t DataSourceText::Next(char* out, size_t capacity) {
  char* cursor = out;
  const char* end = out + capacity;
  if (headDone_ < head_.size()) {
    CopyPart(head_, headDone_, cursor, end);
    if (headDone_ < head_.size())
      return static_cast<size_t>(cursor - out);
  }
  if (literal_) {
    cursor += WriteStringLiteralRows(*literal_, rowsDone_, cursor, static_cast<size_t>(end - cursor));
  } else {
    while (rowsDone_ < rowCount_ && static_cast<size_t>(end - cursor) >= rowRoom_)
      cursor = WriteRow(cursor, rowsDone_++);
  }
  if (rowsDone_ < rowCount_)
    return static_cast<size_t>(cursor - out);
  CopyPart(tail_, tailDone_, cursor, end);
  return static_cast<size_t>(cursor - out);
}

void EmitDataSource(const ByteBuffer& buffer, const std::string& identifier, const SourceStyle& style,
                    std::string& text, ArrayPlace place, const IncbinFile* incbin) {
  DataSourceText source(buffer, identifier, style, place, incbin);
  const size_t start = text.size();
  text.reserve(start + source.size());
  std::unique_ptr<char[]> piece(new char[DataSourceText::kMinPieceCapacity]);
  while (size_t length = source.Next(piece.get(), DataSourceText::kMinPieceCapacity))
    text.append(piece.get(), length);
}
