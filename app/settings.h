// What one run of the program works on: the options read so far and what
// its conversions share.
#pragma once

#include <cstddef>

#include "convert/conversion.h"
#include "platform/file_system.h"

// What the options of the command line have chosen so far.
struct Settings {
  ConversionSettings conversion;        // what a conversion started now runs with
  const char* lastInputPath = nullptr;  // the value of the last -i, until a -p; points at an argument
  bool quiet = false;                   // -q: errors only
};

// One invocation of the program: owned by the driver, handed to each option.
struct Invocation {
  explicit Invocation(FileSystem* fs) : state(fs) {}
  Settings settings;
  RunState state;  // what the conversions of this run share
};

// Returns how many threads prepare the files of a scan: `jobs` (the value of
// HEXLOOM_JOBS, or null) when it is a positive number, at most 256,
// otherwise one per processor.
size_t ScanThreadsFrom(const char* jobs);
