// The process-wide record of options and run state.
#pragma once

#include <cstdint>

// Which files a conversion produces.
enum class OutputFormat : int32_t { Cpp = 0, Cxx = 1, Md5 = 2, Sha1 = 3, Sha256 = 4, Sha512 = 5 };

// Where the emitted bytes come from: the file itself when equal to the
// output format, otherwise the digest that it names.
enum class ContentSource : int32_t { Cpp = 0, Cxx = 1, Md5 = 2, Sha1 = 3, Sha256 = 4, Sha512 = 5 };

// The type of the size constant in a generated header.
enum class SizeType : int32_t { UInt32 = 0, Int32 = 1, SizeT = 2 };

struct Settings {
  int32_t argIndex = 1;
  int32_t rowMask = 15;  // bytes per row minus one
  bool rowWidthChosen = false;  // a row-width option has been read
  int32_t tabSize = 2;
  bool hexOutput = true;
  SizeType sizeType = SizeType::SizeT;
  int32_t exitCode = 0;
  int32_t argCount = 0;
  char** argValues = nullptr;
  bool testMode = false;
  bool dynamicData = false;
  bool noNamespace = false;
  bool useVector = false;
  bool braceWrap = false;
  bool braceWrapNamespace = false;
  bool stringLiteral = false;  // the data is a string literal, not a brace list
  OutputFormat outputFormat = OutputFormat::Cpp;
  ContentSource contentSource = ContentSource::Cpp;
  const char* lastInputPath = nullptr;     // points at an argument string
  const char* outputFolder = nullptr;      // points at an argument string
  const char* currentFileName = nullptr;   // points into currentInputPath
  char* scanTag = nullptr;                 // an argument string, lowercased in place
  const char* currentInputPath = nullptr;  // input of the conversion in progress
};

extern Settings g_settings;

// True when the conversion replaces the file's bytes by a digest.
inline bool DigestReplacesContent() {
  return static_cast<int32_t>(g_settings.contentSource) !=
         static_cast<int32_t>(g_settings.outputFormat);
}
