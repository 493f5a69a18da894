#pragma once

#include <cstddef>
#include <string>

// Lowercase hexadecimal MD5 digest of size bytes at data.
std::string Md5Hex(const unsigned char* data, std::size_t size);
