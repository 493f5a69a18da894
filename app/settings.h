// What one run of the program works on: the options read so far and what
// its conversions share.
#pragma once

#include <cstddef>
#include <optional>

#include "convert/conversion.h"
#include "platform/file_system.h"

// What the options of the command line have chosen so far.
struct Settings {
  ConversionSettings conversion;        // what a conversion started now runs with
  const char* lastInputPath = nullptr;  // the value of the last -i, until a -p; points at an argument
  bool quiet = false;                   // -q: errors only
  const char* depfilePath = nullptr;    // -depfile: written at the end of the run; points at an argument
};

// One invocation of the program: owned by the driver, handed to each option.
struct Invocation {
  explicit Invocation(FileSystem* fs) : state(fs) {}
  Settings settings;
  RunState state;  // what the conversions of this run share
};

// Returns the number of scan threads that `jobs` (the value of HEXLOOM_JOBS)
// asks for: a whole number from 1 to 256, digits only; none for anything else.
std::optional<size_t> ParseScanThreads(const char* jobs);

// Returns one scan thread per processor, at least one.
size_t DefaultScanThreads();
