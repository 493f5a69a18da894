// The banner block that opens every generated file.
#pragma once

#include <string>

inline const std::string kRuleLine = "//--------------------------------------------------------------------------//\n";
inline const std::string kBannerBlock =
    kRuleLine + "// Generated with Hexloom - https://hexloom.dev \n" + kRuleLine + "\n";
