// How generated C++ text looks: every choice that the style options make.
#pragma once

#include <cstdint>
#include <string>

// The type of the size constant in a generated header.
enum class SizeType : int32_t { UInt32 = 0, Int32 = 1, SizeT = 2 };

struct SourceStyle {
  int32_t rowWidth = 16;        // bytes by row, a power of two (8 to 1024 from the options)
  bool rowWidthChosen = false;  // set by a row-width option; string literals default to longer rows
  int32_t tabSize = 2;          // spaces in front of every row; 0 or less gives none
  bool hexOutput = true;
  int32_t alignment = 0;  // alignas() of the data arrays, a power of two; 0 for none
  SizeType sizeType = SizeType::SizeT;
  bool dynamicData = false;  // no "const" on the data
  bool noNamespace = false;
  std::string nameSpace = "Data";  // a valid name (IsValidNamespace); "a::b" nests
  bool useVector = false;          // std::vector<unsigned char> instead of an array
  bool braceWrap = false;
  bool braceWrapNamespace = false;
  bool stringLiteral = false;  // the data is a string literal, not a brace list
  bool digestComment = false;  // the bytes are a digest, shown in a comment line too
  bool incbin = false;         // the assembler includes the input file (.incbin); the text has no bytes

  friend bool operator==(const SourceStyle&, const SourceStyle&) = default;
};
