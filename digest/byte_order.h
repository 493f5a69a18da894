// Loads and stores of fixed-endian words at any alignment, shared by the
// digest engines.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// memcpy is the one alias-safe unaligned access; compilers turn it and the
// byte swap into a single load or store (movbe where the CPU has it).

// Reads the little-endian 32-bit word at p.
inline uint32_t LoadLE32(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big)
    v = __builtin_bswap32(v);
  return v;
}

// Reads the big-endian 32-bit word at p.
inline uint32_t LoadBE32(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little)
    v = __builtin_bswap32(v);
  return v;
}

// Writes v at p as a little-endian 32-bit word.
inline void StoreLE32(unsigned char* p, uint32_t v) {
  if constexpr (std::endian::native == std::endian::big)
    v = __builtin_bswap32(v);
  std::memcpy(p, &v, sizeof v);
}

// Writes v at p as a big-endian 32-bit word.
inline void StoreBE32(unsigned char* p, uint32_t v) {
  if constexpr (std::endian::native == std::endian::little)
    v = __builtin_bswap32(v);
  std::memcpy(p, &v, sizeof v);
}

// Writes v at p as a little-endian 64-bit word.
inline void StoreLE64(unsigned char* p, uint64_t v) {
  if constexpr (std::endian::native == std::endian::big)
    v = __builtin_bswap64(v);
  std::memcpy(p, &v, sizeof v);
}

// Writes v at p as a big-endian 64-bit word.
inline void StoreBE64(unsigned char* p, uint64_t v) {
  if constexpr (std::endian::native == std::endian::little)
    v = __builtin_bswap64(v);
  std::memcpy(p, &v, sizeof v);
}
