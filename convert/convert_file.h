// One conversion of one input file, and the -i and -last options.
#pragma once

#include <string>

// Handler of -i: records the path as the last input and converts it.
void HandleInputOption();

// Handler of -last: converts the last input of -i again.
void HandleLastOption();

// Converts the file with the settings in force; failures are reported on
// the console and recorded in exitCode.
void ConvertFile(const char* inputPath);

// Returns the part of the path after its last "\\" or "/".
const char* FileNameOf(const char* path);

// Returns the C++ identifier made from a file name: lowercase letters,
// digits and "_", never starting with a digit.
std::string MakeIdentifier(const char* fileName);
