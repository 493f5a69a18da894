// The run driver: banner, the left-to-right argument loop and the usage text.
#pragma once

#include <functional>

#include "app/options.h"
#include "app/settings.h"
#include "platform/file_system.h"

// Runs the whole command line, with `jobs` the value of HEXLOOM_JOBS (null
// when unset); returns the exit code, 0 or -1.
int RunHexloom(int argc, char** argv, const char* jobs);

// Runs the whole command line as RunHexloom does, against `fs` in place of
// the platform's file system.
int RunHexloomOn(FileSystem& fs, int argc, char** argv, const char* jobs);

// Returns what the body returns, or -1 after reporting an exception that
// escaped it: nothing may escape main.
int RunCatchingAll(const std::function<int()>& body);

// Runs the options from the cursor on, left to right, printing the mistake
// that stops them; returns the exit code, -1 after an unknown argument, a
// command-line mistake or a failed conversion.
int RunOptions(ArgumentCursor& args, Invocation& run);

// Writes the option list, the examples and the note on option order, unless
// the run is quiet.
void PrintUsage(const Settings& settings);

// The release, "1.0", from the CMake project version.
extern const char kHexloomVersion[];
