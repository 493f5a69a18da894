// The files that a conversion writes (the C++ data source and header, or a
// checksum), planned, and their contents made.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "codegen/incbin_text.h"
#include "codegen/style.h"
#include "convert/conversion.h"
#include "convert/output_file.h"
#include "platform/byte_buffer.h"

enum class OutputKind {
  Source,    // the .cpp or .cxx data source file
  Header,    // the .h that goes with a .cpp
  Checksum,  // the digest in lowercase hexadecimal
};

// What the outputs of one input are made from.
struct OutputMaterial {
  ByteBuffer buffer;  // the file's bytes, or the digest that replaced them
  std::string identifier;
  SourceStyle style;
  IncbinFile incbin;     // the file that an -incbin source includes
  std::string checksum;  // for a checksum format
};

// One file that a conversion writes, and what its path held when that was
// looked at ahead of time.
struct PlannedOutput {
  OutputKind kind;
  std::string path;
  std::optional<OutputLook> look;
};

// Returns the files that the settings' format writes for the input, in the
// order they are written.
std::vector<PlannedOutput> PlanOutputs(const ConversionSettings& settings, const std::string& inputPath);

// Calls `use` with the content of the output, made piece by piece where it
// is large; returns what `use` returns.
bool WithOutputContent(const OutputMaterial& material, OutputKind kind, const std::function<bool(ContentPieces&)>& use);

// Stores the output unless the file already holds exactly it; false after
// an error, already reported.
bool WriteOutput(Conversion& conversion, const OutputMaterial& material, const PlannedOutput& output);
