#include "codegen/source_files.h"

#include "app/settings.h"
#include "codegen/data_source.h"
#include "convert/output_file.h"

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

std::string BuildHeaderText(const ByteBuffer& buffer, const std::string& identifier) {
  const Settings& s = g_settings;
  std::string text;
  text.reserve(400 + 2 * identifier.size());
  AppendBanner(text);
  text += "#pragma once\n\n";
  // The header compiles on its own: size_t needs <cstddef>.
  const bool needsSizeT = s.sizeType == SizeType::SizeT;
  if (needsSizeT)
    text += "#include <cstddef>\n";
  if (s.useVector)
    text += "#include <vector>\n";
  if (needsSizeT || s.useVector)
    text += "\n";
  if (!s.noNamespace)
    AppendNamespaceOpen(text);
  text += "extern ";
  if (!s.dynamicData)
    text += "const ";
  if (s.useVector) {
    text += "std::vector<unsigned char> ";
    text += identifier;
    text += ";\n";
  } else {
    text += "unsigned char ";
    text += identifier;
    text += "[];\n";
  }
  text += SizeTypeText(s.sizeType);
  text += identifier;
  text += "_size = ";
  text += std::to_string(static_cast<unsigned long long>(buffer.size()));
  text += ";\n";
  if (!s.noNamespace)
    text += "}\n";
  return text;
}

bool WriteSourceFile(const char* inputPath, const ByteBuffer& buffer, const std::string& identifier, bool cxx) {
  // Made piece by piece while it is compared or written: the text of a
  // large file is several times its size and is never held whole.
  DataSourceText text(buffer, identifier);
  ContentPieces pieces;
  pieces.size = text.size();
  pieces.next = [&text](char* out, size_t capacity) { return text.Next(out, capacity); };
  pieces.rewind = [&text] { text.Rewind(); };
  return WriteIfChanged(BuildOutputPath(inputPath, cxx ? ".cxx" : ".cpp"), pieces);
}

bool WriteHeaderFile(const char* inputPath, const ByteBuffer& buffer, const std::string& identifier) {
  return WriteIfChanged(BuildOutputPath(inputPath, ".h"), BuildHeaderText(buffer, identifier));
}
