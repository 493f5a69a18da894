// The process-wide record of options and run state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "codegen/style.h"
#include "convert/conversion.h"
#include "convert/output_format.h"
#include "platform/file_system.h"

struct Settings {
  int32_t argIndex = 1;
  int32_t rowMask = 15;         // bytes per row minus one
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
  std::string nameSpace = "Data";  // checked by -ns before it is kept
  bool quiet = false;              // -q: errors only
  bool useVector = false;
  bool braceWrap = false;
  bool braceWrapNamespace = false;
  bool stringLiteral = false;  // the data is a string literal, not a brace list
  int32_t alignment = 0;       // -align: alignas() of the data arrays; 0 for none
  OutputFormat outputFormat = OutputFormat::Cpp;
  ContentSource contentSource = ContentSource::Cpp;
  const char* lastInputPath = nullptr;  // points at an argument string
  const char* outputFolder = nullptr;   // points at an argument string
  std::optional<std::string> scanTag;   // lowercased copy of the last -p tag
  RunState run{&RealFileSystem()};      // what the conversions of this run share
};

extern Settings g_settings;

// Returns how many threads prepare the files of a scan: `jobs` (the value of
// HEXLOOM_JOBS, or null) when it is a positive number, at most 256,
// otherwise one per processor.
size_t ScanThreadsFrom(const char* jobs);

// Returns the settings that a conversion started now runs with.
ConversionSettings CurrentConversionSettings();
