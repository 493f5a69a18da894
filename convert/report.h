// The one place where conversions report their failures.
#pragma once

#include <string_view>

// Prints " [ERROR] ", the description and the path, then an empty line, in
// the error colour; returns false for the caller to pass on.
bool ReportError(std::string_view description, std::string_view path);
