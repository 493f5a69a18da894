#include "codegen/identifier.h"

#include <algorithm>
#include <array>

namespace {

// Names that a definition can't use: the C++20 keywords and alternative
// tokens (only the lowercase ones can come out of a file name), and size_t,
// which the header's size constant must still be able to name.
constexpr std::array<std::string_view, 93> kReserved = {
    "alignas",
    "alignof",
    "and",
    "and_eq",
    "asm",
    "auto",
    "bitand",
    "bitor",
    "bool",
    "break",
    "case",
    "catch",
    "char",
    "char16_t",
    "char32_t",
    "char8_t",
    "class",
    "co_await",
    "co_return",
    "co_yield",
    "compl",
    "concept",
    "const",
    "const_cast",
    "consteval",
    "constexpr",
    "constinit",
    "continue",
    "decltype",
    "default",
    "delete",
    "do",
    "double",
    "dynamic_cast",
    "else",
    "enum",
    "explicit",
    "export",
    "extern",
    "false",
    "float",
    "for",
    "friend",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "mutable",
    "namespace",
    "new",
    "noexcept",
    "not",
    "not_eq",
    "nullptr",
    "operator",
    "or",
    "or_eq",
    "private",
    "protected",
    "public",
    "register",
    "reinterpret_cast",
    "requires",
    "return",
    "short",
    "signed",
    "size_t",
    "sizeof",
    "static",
    "static_assert",
    "static_cast",
    "struct",
    "switch",
    "template",
    "this",
    "thread_local",
    "throw",
    "true",
    "try",
    "typedef",
    "typeid",
    "typename",
    "union",
    "unsigned",
    "using",
    "virtual",
    "void",
    "volatile",
    "wchar_t",
    "while",
    "xor",
    "xor_eq",
};

}  // namespace

bool IsReservedName(std::string_view name) {
  return std::find(kReserved.begin(), kReserved.end(), name) != kReserved.end();
}

bool IsValidNamespace(std::string_view name) {
  constexpr std::string_view kSeparator = "::";
  for (;;) {
    const size_t end = name.find(kSeparator);
    const std::string_view part = name.substr(0, end);
    if (part.empty() || (part[0] >= '0' && part[0] <= '9') || IsReservedName(part))
      return false;
    for (char c : part) {
      if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
        return false;
    }
    if (end == std::string_view::npos)
      return true;
    name.remove_prefix(end + kSeparator.size());
  }
}

std::string MakeIdentifier(std::string_view fileName) {
  std::string identifier(fileName);
  for (char& c : identifier) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
      c = '_';
  }
  if (identifier.empty() || !(identifier[0] >= 'a' && identifier[0] <= 'z'))
    identifier.insert(identifier.begin(), '_');
  if (IsReservedName(identifier))
    identifier += '_';
  return identifier;
}
