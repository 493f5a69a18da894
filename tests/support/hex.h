// Bytes written as lowercase hexadecimal, as checksum files and the tests' expectations hold them.
#pragma once

#include <string>
#include <string_view>

// Two lowercase hexadecimal digits for each byte.
inline std::string Hex(std::string_view bytes) {
  std::string text;
  for (unsigned char c : bytes)
    text += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
  return text;
}
