// The banner block that opens every generated file.
#pragma once

#include <string>

inline const std::string kBannerBlock =
    "//--------------------------------------------------------------------------//\n"
    "// Generated with Hexloom - https://hexloom.dev \n"
    "//--------------------------------------------------------------------------//\n\n";
