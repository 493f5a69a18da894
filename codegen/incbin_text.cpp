#include "codegen/incbin_text.h"

#include <algorithm>

#include "codegen/banner.h"
#include "codegen/string_literal.h"
#include "platform/console_log.h"

namespace {

// The assembler pads the data to at least this, whatever -align says: SIMD
// loads of the first bytes need no care.
constexpr int32_t kLeastIncbinAlignment = 16;

// Every object format is chosen by the preprocessor of the compiler that
// builds the source, so that one generated file serves them all. ELF and
// Mach-O restore the compiler's section from a stack; COFF has no stack,
// and goes back to .text, where the compiler stands at the top of a file.
// On ELF the symbol gets a type and a size, as a compiled array would.
const char kMacros[] =
    "#if defined(__APPLE__)\n"
    "#define HEXLOOM_INCBIN_OPEN \".pushsection __TEXT,__const\\n\"\n"
    "#define HEXLOOM_INCBIN_CLOSE(label) \".popsection\\n\"\n"
    "#elif defined(_WIN32)\n"
    "#define HEXLOOM_INCBIN_OPEN \".section .rdata,\\\"dr\\\"\\n\"\n"
    "#define HEXLOOM_INCBIN_CLOSE(label) \".text\\n\"\n"
    "#else\n"
    "#define HEXLOOM_INCBIN_OPEN \".pushsection .rodata\\n\"\n"
    "#define HEXLOOM_INCBIN_CLOSE(label) \".type \" label \", %object\\n.size \" label \", . - \" label \"\\n"
    ".popsection\\n\"\n"
    "#endif\n"
    "#define HEXLOOM_INCBIN_TEXT(x) #x\n"
    "#define HEXLOOM_INCBIN_PREFIX(x) HEXLOOM_INCBIN_TEXT(x)\n"
    "#define HEXLOOM_INCBIN_LABEL(name) HEXLOOM_INCBIN_PREFIX(__USER_LABEL_PREFIX__) name\n";

const char kUndefines[] =
    "#undef HEXLOOM_INCBIN_OPEN\n#undef HEXLOOM_INCBIN_CLOSE\n#undef HEXLOOM_INCBIN_TEXT\n"
    "#undef HEXLOOM_INCBIN_PREFIX\n#undef HEXLOOM_INCBIN_LABEL\n";

// MSVC has no GNU-style inline assembly: the build stops at the file, with
// the way out, rather than at a link error.
const char kCompilerCheck[] =
    "#if defined(_MSC_VER) && !defined(__clang__)\n"
    "#error \"This source includes its data with the assembler's .incbin, which MSVC lacks: "
    "convert the file with -str or as a brace list\"\n"
    "#endif\n";

void AppendNamePart(std::string& text, std::string_view name) {
  text += std::to_string(name.size());
  text += name;
}

}  // namespace

std::string MangledDataName(const std::string& identifier, const SourceStyle& style) {
  if (style.noNamespace)
    return identifier;
  std::string_view rest = style.nameSpace;
  std::string text = "_Z";
  bool nested = true;
  // The namespace std has its own short form, St, and a name directly in it
  // is not nested.
  constexpr std::string_view kStd = "std";
  if (rest == kStd || rest.substr(0, kStd.size() + 2) == "std::") {
    nested = rest != kStd;
    text += nested ? "NSt" : "St";
    rest.remove_prefix(std::min(rest.size(), kStd.size() + 2));
  } else {
    text += "N";
  }
  while (!rest.empty()) {
    const size_t end = rest.find("::");
    AppendNamePart(text, rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
  }
  AppendNamePart(text, identifier);
  if (nested)
    text += "E";
  return text;
}

std::string AssemblerQuoted(const std::string& path) {
  std::string text;
  for (const char c : path) {
    if (c == '\\' || c == '"')
      text += '\\';
    text += c;
  }
  // The assembler reads control bytes in a string as the console shows them: \ooo.
  return EscapeControlBytes(text);
}

std::string BuildIncbinText(const IncbinFile& file, uint64_t size, const std::string& identifier,
                            const SourceStyle& style, ArrayPlace place) {
  const bool part = place == ArrayPlace::CataloguePart;
  std::string text;
  if (!part) {
    AppendBanner(text);
    text += kCompilerCheck;
    text += "\n";
  }
  // A catalogue's arrays stand in an unnamed namespace; a declaration there
  // that only the assembler defines draws Clang's warning, so it steps out.
  if (part)
    text += "}  // namespace\n";
  else if (!style.noNamespace)
    AppendNamespaceOpen(text, style);
  AppendAlignment(text, style);
  // The bound counts the final zero, as a string literal's does.
  text += "extern const unsigned char " + identifier + "[" + std::to_string(size + 1) + "]";
  // A catalogue names its arrays' labels itself: the compiler uses them as
  // written, with no mangling and no platform prefix, and they stay local to
  // the object.
  const std::string label =
      part ? QuotedStringLiteral("hexloom_" + identifier)
           : "HEXLOOM_INCBIN_LABEL(" + QuotedStringLiteral(MangledDataName(identifier, style)) + ")";
  if (part)
    text += " __asm__(" + label + ")";
  text += ";\n";
  if (part)
    text += "namespace {\n";
  else if (!style.noNamespace)
    text += "}\n";
  text += "\n";
  text += kMacros;
  text += "asm(HEXLOOM_INCBIN_OPEN\n";
  // The digest makes the text change whenever the bytes do: build tools and
  // compiler caches that hash the source compile it again. It is an
  // assembler comment, inside the string, because the preprocessor drops
  // C++ comments and caches may hash its output instead of the file.
  text +=
      "    \"/* SHA-256 of the included file: " + LowercaseHex(file.sha256.data(), file.sha256.size()) + " */\\n\"\n";
  if (!part)
    text += "    \".globl \" " + label + " \"\\n\"\n";
  text += "    \".balign " + std::to_string(std::max(style.alignment, kLeastIncbinAlignment)) + "\\n\"\n";
  text += "    " + label + " \":\\n\"\n";
  // Compiler caches refuse a source that holds the directive, since they
  // can't know the bytes it reads. This source names them by their digest,
  // so its text is a sound cache key: the directive is split in two
  // literals, which the compiler joins.
  text += "    \".inc\" " + QuotedStringLiteral("bin \"" + AssemblerQuoted(file.path) + "\"\n") + "\n";
  text += "    \".byte 0\\n\"\n";
  text += "    HEXLOOM_INCBIN_CLOSE(" + label + "));\n";
  text += kUndefines;
  return text;
}
