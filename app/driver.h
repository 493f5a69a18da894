// The run driver: banner, the left-to-right argument loop and the usage text.
#pragma once

// Runs the whole command line; returns the exit code, 0 or -1.
int RunHexloom(int argc, char** argv);

// Writes the option list, the examples and the note on option order.
void PrintUsage();

// The release, "1.0", from the CMake project version.
extern const char kHexloomVersion[];
