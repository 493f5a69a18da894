#include "codegen/data_source.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "codegen/banner.h"

// Every element text with its ", " separator, padded to eight bytes so that
// one fixed-size copy writes it; the writer then advances by its length.
struct ElementTable {
  char text[256][8];
  unsigned char length[256];
  bool hex;
};

namespace {

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

DataSourceText::DataSourceText(const ByteBuffer& buffer, const std::string& identifier, const SourceStyle& style)
    : bytes_(buffer.data()), count_(buffer.size()) {
  const SourceStyle& s = style;
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
  // A namespace-scope const has internal linkage unless declared extern,
  // and this file doesn't include its header: without extern the header's
  // declaration would never link.
  if (!s.dynamicData)
    head_ += "extern const ";
  head_ += s.useVector ? "std::vector<unsigned char> " : "unsigned char ";
  head_ += identifier;
  head_ += s.useVector ? " =" : "[] =";
  head_ += s.braceWrap ? "\n{\n" : " {\n";

  indent_.assign(s.tabSize > 0 ? static_cast<size_t>(s.tabSize) : 0, ' ');
  // A zero-size array is not standard C++: the array of an empty input
  // holds one zero element, while its header's size constant says 0. An
  // empty vector is valid and keeps its empty row.
  static const unsigned char kLoneZero = 0;
  if (count_ == 0 && !s.useVector) {
    bytes_ = &kLoneZero;
    count_ = 1;
  }
  if (count_ == 0)
    head_ += indent_;
  tail_ = s.noNamespace ? "\n};" : "\n};\n}\n";

  table_ = s.hexOutput ? &kHexTable : &kDecimalTable;
  // The row-width options only ever store one less than a power of two.
  rowWidth_ = static_cast<size_t>(s.rowMask) + 1;
  rowCount_ = (count_ + rowWidth_ - 1) / rowWidth_;
  rowRoom_ = indent_.size() + rowWidth_ * 8 + 1;
  const uint64_t rowsLength =
      count_ ? uint64_t{indent_.size()} * rowCount_ + (rowCount_ - 1) + ElementsLength(bytes_, count_, *table_) - 2
             : 0;
  size_ = head_.size() + rowsLength + tail_.size();
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
  if (headDone_ < head_.size() && (CopyPart(head_, headDone_, cursor, end), headDone_ < head_.size()))
    return static_cast<size_t>(cursor - out);
  while (rowsDone_ < rowCount_ && static_cast<size_t>(end - cursor) >= rowRoom_)
    cursor = WriteRow(cursor, rowsDone_++);
  if (rowsDone_ < rowCount_)
    return static_cast<size_t>(cursor - out);
  CopyPart(tail_, tailDone_, cursor, end);
  return static_cast<size_t>(cursor - out);
}

void EmitDataSource(const ByteBuffer& buffer, const std::string& identifier, const SourceStyle& style,
                    std::string& text) {
  DataSourceText source(buffer, identifier, style);
  const size_t start = text.size();
  text.reserve(start + source.size());
  std::unique_ptr<char[]> piece(new char[DataSourceText::kMinPieceCapacity]);
  while (size_t length = source.Next(piece.get(), DataSourceText::kMinPieceCapacity))
    text.append(piece.get(), length);
}
