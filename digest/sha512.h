// SHA-512 message digest (FIPS 180-4), fed incrementally.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes in a SHA-512 digest.
inline constexpr size_t kSha512DigestSize = 64;
// Bytes in a block of the compression function.
inline constexpr size_t kSha512BlockSize = 128;

struct Sha512Context {
  uint64_t bitCount;  // bits in the blocks compressed so far
  uint64_t state[8];
  uint32_t bufferLength;  // pending bytes in buffer, 0..127 between calls
  uint8_t buffer[kSha512BlockSize];
};

// Starts a new message.
void Sha512Init(Sha512Context& ctx);
// Appends count bytes at data (data may be null when count is 0).
void Sha512Update(Sha512Context& ctx, const unsigned char* data, uint64_t count);
// Pads the message and writes its 64-byte digest; Init starts the next one.
void Sha512Final(Sha512Context& ctx, unsigned char* digest);
