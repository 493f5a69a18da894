// The texts that generated code quotes bytes and names in, read back as a compiler and an assembler read them.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/identifier.h"
#include "codegen/incbin_text.h"
#include "codegen/string_literal.h"
#include "fuzz/fuzz_check.h"
#include "platform/console_log.h"

namespace {

// The escapes of a quoted text: their letters and the bytes they stand for; whether a raw byte must be ASCII.
struct Escapes {
  std::string_view letters, values;
  bool asciiOnly;
};
constexpr Escapes kCxx{"'\"?\\abfnrtv", "'\"?\\\a\b\f\n\r\t\v", true};
constexpr Escapes kAssembler{"\"\\bfnrt", "\"\\\b\f\n\r\t", false};

// Reads the digits of a numeric escape, at least one and at most `most`, as C++ and GNU as both do.
char ReadDigits(std::string_view text, size_t& i, int base, size_t most) {
  const std::string_view digits = std::string_view("0123456789abcdef").substr(0, base);
  const auto digit = [&] {
    return i < text.size() ? digits.find(std::tolower(static_cast<unsigned char>(text[i]))) : std::string_view::npos;
  };
  size_t value = 0, count = 0;
  for (; count < most && digit() != std::string_view::npos; ++count, ++i) {
    value = value * base + digit();
    Check(value <= 0xFF, "escape past a byte");
  }
  Check(count > 0, "escape without digits");
  return static_cast<char>(value);
}

// Reads from `i`, just past an opening quote, to the closing one; returns the bytes the text stands for.
std::string Unquote(std::string_view text, size_t& i, const Escapes& escapes) {
  constexpr size_t kOctalDigits = 3;
  std::string bytes;
  for (;;) {
    Check(i < text.size(), "no closing quote");
    const auto c = static_cast<unsigned char>(text[i++]);
    if (c == '"')
      return bytes;
    Check(c >= ' ' && c != 0x7F && (c < 0x80 || !escapes.asciiOnly), "raw byte that must be escaped");
    Check(c != '\\' || i < text.size(), "escape at the end");
    if (c != '\\')
      bytes += static_cast<char>(c);
    else if (const size_t letter = escapes.letters.find(text[i]); letter != std::string_view::npos)
      bytes += escapes.values[letter], ++i;
    else
      bytes += text[i] == 'x' ? ReadDigits(text, ++i, 16, SIZE_MAX) : ReadDigits(text, i, 8, kOctalDigits);
  }
}

// The bytes of adjacent C++ literals with blanks between them; no trigraph may be left unescaped.
std::string ReadCxxLiterals(std::string_view text) {
  for (size_t at = text.find("??"); at != std::string_view::npos; at = text.find("??", at + 1))
    Check(at + 2 == text.size() || std::string_view("=/'()!<>-").find(text[at + 2]) == std::string_view::npos,
          "trigraph");
  std::string bytes;
  for (size_t i = text.find_first_not_of(" \n"); i != std::string_view::npos; i = text.find_first_not_of(" \n", i)) {
    Check(text[i++] == '"', "text between literals");
    bytes += Unquote(text, i, kCxx);
  }
  return bytes;
}

bool IsCxxKeyword(const std::string& name) {
  static const std::string kKeywords =
      " alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t char16_t char32_t class "
      "compl concept const consteval constexpr constinit const_cast continue co_await co_return co_yield decltype "
      "default delete do double dynamic_cast else enum explicit export extern false float for friend goto if inline "
      "int long mutable namespace new noexcept not not_eq nullptr operator or or_eq private protected public register "
      "reinterpret_cast requires return short signed sizeof static static_assert static_cast struct switch template "
      "this thread_local throw true try typedef typeid typename union unsigned using virtual void volatile wchar_t "
      "while xor xor_eq ";
  return kKeywords.find(" " + name + " ") != std::string::npos;
}

// The rows of -str, their layout and the size of each write taken from the first bytes.
void CheckRows(const uint8_t* data, size_t size) {
  constexpr size_t kParameters = 3, kWidestRow = 80, kDeepestIndent = 8, kMostRowsAWrite = 3;
  if (size < kParameters)
    return;
  const StringLiteralLayout layout{data + kParameters, size - kParameters, 1 + data[0] % kWidestRow,
                                   data[1] % kDeepestIndent};
  std::string text, buffer(StringLiteralRowRoom(layout) * (1 + data[2] % kMostRowsAWrite), '\0');
  size_t row = 0;
  while (const size_t written = WriteStringLiteralRows(layout, row, buffer.data(), buffer.size()))
    text.append(buffer, 0, written);
  Check(row == StringLiteralRowCount(layout) && text.size() == StringLiteralLength(layout), "rows or length foretold");
  const std::vector<std::string> lines = Split(text, '\n');
  Check(lines.size() == row, "line count differs from the row count");
  for (const std::string& line : lines)
    Check(line.find_first_not_of(' ') == layout.indent && line.back() == '"', "row not indented and quoted");
  Check(ReadCxxLiterals(text) == std::string(layout.bytes, layout.bytes + layout.count), "rows read back differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckRows(data, size);
  const std::string text(reinterpret_cast<const char*>(data), size);
  Check(ReadCxxLiterals(QuotedStringLiteral(text)) == text, "quoted literal read back differs");

  const std::string identifier = MakeIdentifier(text);
  Check(!identifier.empty() && !std::isdigit(static_cast<unsigned char>(identifier[0])), "identifier starts badly");
  for (const char c : identifier)
    Check(std::isalnum(static_cast<unsigned char>(c)) || c == '_', "identifier holds a byte no identifier can");
  Check(!IsCxxKeyword(identifier) && !IsReservedName(identifier), "identifier is a keyword");
  Check(MakeIdentifier(text) == identifier, "identifier differs the second time");

  // The .incbin line quotes the path for the assembler, and that text again for the compiler.
  const std::string quoted = AssemblerQuoted(text) + '"', line = "bin \"" + quoted + "\n";
  size_t end = 0;
  Check(Unquote(quoted, end, kAssembler) == text && end == quoted.size(), "assembler string read back differs");
  Check(ReadCxxLiterals(QuotedStringLiteral(line)) == line, ".incbin line read back differs");

  // Each control byte shows as a backslash and three octal digits.
  const auto control = [](char c) { return static_cast<unsigned char>(c) < ' ' || c == '\x7f'; };
  const std::string shown = EscapeControlBytes(text);
  Check(std::none_of(shown.begin(), shown.end(), control), "control byte shown");
  Check(shown.size() == text.size() + 3 * std::count_if(text.begin(), text.end(), control), "escaped length differs");
  return 0;
}
