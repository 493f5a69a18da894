#include "codegen/banner.h"

const char kHexloomWebAddress[] = "https://hexloom.dev";

namespace {

const char kRule[] = "//--------------------------------------------------------------------------//\n";

}  // namespace

void AppendBanner(std::string& text) {
  text += kRule;
  text += "// Generated with Hexloom - ";
  text += kHexloomWebAddress;
  text += " \n";
  text += kRule;
  text += "\n";
}

void AppendNamespaceOpen(std::string& text, const SourceStyle& style) {
  text += "namespace ";
  text += style.nameSpace;
  text += style.braceWrapNamespace ? "\n{\n" : " {\n";
}

void AppendAlignment(std::string& text, const SourceStyle& style) {
  // A vector's bytes live on the heap, where alignas() can't reach them.
  if (style.alignment <= 0 || style.useVector)
    return;
  text += "alignas(";
  text += std::to_string(style.alignment);
  text += ") ";
}
