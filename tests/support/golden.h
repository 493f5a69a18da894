// Texts shared by the tests of generated files.
#pragma once

#include <string>
#include <vector>

#include "platform/byte_buffer.h"

inline const std::string kRuleLine =
    "//--------------------------------------------------------------------------//\n";
inline const std::string kBannerBlock =
    kRuleLine + "// Generated with Hexloom - https://hexloom.dev \n" + kRuleLine + "\n";

inline void Fill(ByteBuffer& buffer, const std::vector<unsigned char>& bytes) {
  buffer.Assign(bytes.data(), bytes.size());
}
