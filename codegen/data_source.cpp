#include "codegen/data_source.h"

#include <cstring>

#include "app/driver.h"
#include "app/settings.h"

namespace {

const char kRule[] = "//--------------------------------------------------------------------------//\n";

// Every element text with its ", " separator, padded to eight bytes so that
// one fixed-size copy writes it; the writer then advances by its length.
struct ElementTable {
  char text[256][8];
  unsigned char length[256];
};

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
  return table;
}

constexpr ElementTable kHexTable = MakeHexTable();
constexpr ElementTable kDecimalTable = MakeDecimalTable();

// Room for the fixed eight-byte copies to run past the last element.
constexpr size_t kSlack = 8;

size_t ElementsLength(const unsigned char* bytes, size_t count, bool hex, const ElementTable& table) {
  if (hex)
    return count * 6;
  size_t length = 0;
  for (size_t i = 0; i < count; ++i)
    length += table.length[bytes[i]];
  return length;
}

// Writes the rows of elements; returns the position after the last one.
char* WriteRows(char* out, const unsigned char* bytes, size_t count, size_t rowWidth, const char* indent,
                size_t indentLength, const ElementTable& table) {
  std::memcpy(out, indent, indentLength);
  out += indentLength;
  if (count == 0)
    return out;
  size_t index = 0;
  const size_t brokenRows = (count - 1) / rowWidth;
  for (size_t row = 0; row < brokenRows; ++row) {
    for (size_t end = index + rowWidth; index < end; ++index) {
      std::memcpy(out, table.text[bytes[index]], 8);
      out += table.length[bytes[index]];
    }
    *out++ = '\n';
    std::memcpy(out, indent, indentLength);
    out += indentLength;
  }
  for (; index + 1 < count; ++index) {
    std::memcpy(out, table.text[bytes[index]], 8);
    out += table.length[bytes[index]];
  }
  std::memcpy(out, table.text[bytes[index]], 8);
  return out + table.length[bytes[index]] - 2;  // the last element has no separator
}

}  // namespace

void AppendBanner(std::string& text) {
  text += kRule;
  text += "// Generated with Hexloom - ";
  text += kHexloomWebAddress;
  text += " \n";
  text += kRule;
  text += "\n";
}

void AppendNamespaceOpen(std::string& text) {
  text += g_settings.braceWrapNamespace ? "namespace Data\n{\n" : "namespace Data {\n";
}

std::string LowercaseHex(const unsigned char* bytes, size_t length) {
  static const char digits[] = "0123456789abcdef";
  std::string text(length * 2, '\0');
  for (size_t i = 0; i < length; ++i) {
    text[2 * i] = digits[bytes[i] >> 4];
    text[2 * i + 1] = digits[bytes[i] & 15];
  }
  return text;
}

void EmitDataSource(const ByteBuffer& buffer, const std::string& identifier, std::string& text) {
  const Settings& s = g_settings;
  AppendBanner(text);
  if (s.useVector)
    text += "#include <vector>\n\n";
  if (!s.noNamespace)
    AppendNamespaceOpen(text);
  if (DigestReplacesContent()) {
    text += "// ";
    text += LowercaseHex(buffer.data(), buffer.size());
    text += "\n";
  }
  // A namespace-scope const has internal linkage unless declared extern,
  // and this file doesn't include its header: without extern the header's
  // declaration would never link.
  if (!s.dynamicData)
    text += "extern const ";
  text += s.useVector ? "std::vector<unsigned char> " : "unsigned char ";
  text += identifier;
  text += s.useVector ? " =" : "[] =";
  text += s.braceWrap ? "\n{\n" : " {\n";

  const ElementTable& table = s.hexOutput ? kHexTable : kDecimalTable;
  const std::string indent(s.tabSize > 0 ? static_cast<size_t>(s.tabSize) : 0, ' ');
  const unsigned char* bytes = buffer.data();
  const size_t count = buffer.size();
  // The row-width options only ever store one less than a power of two.
  const size_t rowWidth = static_cast<size_t>(s.rowMask) + 1;
  const size_t brokenRows = count ? (count - 1) / rowWidth : 0;
  const size_t rowsLength = indent.size() * (brokenRows + 1) + brokenRows +
                            (count ? ElementsLength(bytes, count, s.hexOutput, table) - 2 : 0);
  const size_t start = text.size();
  // One allocation for the whole text, the closing lines included.
  text.reserve(start + rowsLength + kSlack + 8);
  text.resize(start + rowsLength + kSlack);
  char* end = WriteRows(text.data() + start, bytes, count, rowWidth, indent.data(), indent.size(), table);
  text.resize(static_cast<size_t>(end - text.data()));
  text += "\n};";
  if (!s.noNamespace)
    text += "\n}\n";
}
