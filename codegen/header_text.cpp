#include "codegen/header_text.h"

#include "codegen/banner.h"

#include <limits>

namespace {

const char* SizeTypeText(SizeType type) {
  switch (type) {
    case SizeType::UInt32: return "const unsigned int ";
    case SizeType::Int32: return "const int ";
    case SizeType::SizeT: break;
  }
  return "const size_t ";
}

}  // namespace

std::string BuildHeaderText(uint64_t size, const std::string& identifier, const SourceStyle& style) {
  std::string text;
  AppendBanner(text);
  text += "#pragma once\n\n";
  // The header compiles on its own: size_t needs <cstddef>.
  const bool needsSizeT = style.sizeType == SizeType::SizeT;
  if (needsSizeT)
    text += "#include <cstddef>\n";
  if (style.useVector)
    text += "#include <vector>\n";
  if (needsSizeT || style.useVector)
    text += "\n";
  if (!style.noNamespace)
    AppendNamespaceOpen(text, style);
  // The declaration repeats the definition's alignment, so that other files
  // may rely on it too.
  AppendAlignment(text, style);
  text += "extern ";
  if (!style.dynamicData)
    text += "const ";
  if (style.useVector) {
    text += "std::vector<unsigned char> ";
    text += identifier;
    text += ";\n";
  } else {
    text += "unsigned char ";
    text += identifier;
    text += "[];\n";
  }
  text += SizeTypeText(style.sizeType);
  text += identifier;
  text += "_size = ";
  text += std::to_string(size);
  text += ";\n";
  if (!style.noNamespace)
    text += "}\n";
  return text;
}

bool SizeFitsType(uint64_t size, SizeType type) {
  switch (type) {
    case SizeType::Int32: return size <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
    case SizeType::UInt32: return size <= std::numeric_limits<uint32_t>::max();
    case SizeType::SizeT: break;
  }
  return true;
}
