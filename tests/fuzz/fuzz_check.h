// What the fuzz targets share: a property that stops the run, and inputs cut into parts.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Stops the run, naming the property, when it doesn't hold.
inline void Check(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "broken: %s\n", property);
    __builtin_trap();
  }
}

// The parts of the text between separators; one empty part for an empty text.
inline std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts(1);
  for (const char c : text)
    if (c == separator)
      parts.emplace_back();
    else
      parts.back().push_back(c);
  return parts;
}
