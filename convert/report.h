// The one place where conversions, and the layers below them, have their
// failures printed.
#pragma once

#include <string_view>

#include "platform/file_access.h"

// Prints " [ERROR] ", the description and the path, then an empty line, in
// the error colour; returns false for the caller to pass on.
bool ReportError(std::string_view description, std::string_view path);

// Prints why the file at `path` was not read: a check line for a failure
// after opening, then the error; returns false (true, printing nothing,
// for Done).
bool ReportReadFailure(ReadResult result, std::string_view path);

// Prints why the file at `path` was not written: a check line for a write
// broken off, then the error; returns false (true, printing nothing, for
// Done).
bool ReportWriteFailure(WriteResult result, std::string_view path);
