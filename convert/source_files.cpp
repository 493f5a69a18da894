#include "convert/source_files.h"

#include "codegen/data_source.h"
#include "codegen/header_text.h"
#include "convert/output_file.h"

bool WriteSourceFile(Conversion& conversion, const ByteBuffer& buffer, const std::string& identifier,
                     const SourceStyle& style, bool cxx) {
  // Made piece by piece while it is compared or written: the text of a
  // large file is several times its size and is never held whole.
  DataSourceText text(buffer, identifier, style);
  ContentPieces pieces;
  pieces.size = text.size();
  pieces.next = [&text](char* out, size_t capacity) { return text.Next(out, capacity); };
  pieces.rewind = [&text] { text.Rewind(); };
  const char* extension = cxx ? ".cxx" : ".cpp";
  return WriteIfChanged(conversion, BuildOutputPath(conversion.settings, conversion.inputPath, extension), pieces);
}

bool WriteHeaderFile(Conversion& conversion, const ByteBuffer& buffer, const std::string& identifier,
                     const SourceStyle& style) {
  return WriteIfChanged(conversion, BuildOutputPath(conversion.settings, conversion.inputPath, ".h"),
                        BuildHeaderText(buffer.size(), identifier, style));
}

bool WriteChecksumFile(Conversion& conversion, const std::string& checksum, const char* extension) {
  return WriteIfChanged(conversion, BuildOutputPath(conversion.settings, conversion.inputPath, extension), checksum);
}
