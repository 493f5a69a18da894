// One conversion of one input file: prepared (read, digested, compared with
// its targets), then committed (reported and written).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "convert/listed_names.h"
#include "convert/output_plan.h"
#include "platform/console_log.h"

struct PreparedConversion {
  std::string inputPath;
  std::string inputKey;  // the same for every path that leads to the same file
  bool ready = false;    // false after a failure, already reported
  OutputMaterial material;
  std::array<unsigned char, kCatalogueDigestSize> sha256{};  // of a catalogue entry's bytes
  CatalogueStorage storage;                                  // how a catalogue entry keeps its bytes
  std::vector<PlannedOutput> outputs;
  ConsoleLog::Recording console;  // what preparing printed, when it was recorded
};

// Reads the input (waiting for a pipe's writer as `wait` says) and makes
// everything its outputs need; an input of a checksum is digested block by
// block, in constant memory. With `compareAhead`, also compares each output
// with the file already there. `identity`, when the caller knows it, spares
// asking for the input's, and `listing`, what the input's folder held when
// listed, spares looking at an output there that it can't hold. Never writes
// a file.
std::unique_ptr<PreparedConversion> PrepareConversion(const std::string& inputPath, const ConversionSettings& settings,
                                                      FileSystem& fs, PipeWait wait, bool compareAhead,
                                                      std::optional<FileId> identity = std::nullopt,
                                                      const ListedNames* listing = nullptr);

// Prints what preparing recorded, then stores the outputs in order; returns
// false when anything failed.
bool CommitConversion(PreparedConversion& prepared, const ConversionSettings& settings, RunState& run);

// Converts the file with the settings; failures are reported on the console.
// Returns false when anything failed.
bool ConvertFile(const std::string& inputPath, const ConversionSettings& settings, RunState& run, PipeWait wait,
                 std::optional<FileId> identity = std::nullopt);
