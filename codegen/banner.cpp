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
