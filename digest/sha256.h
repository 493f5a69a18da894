// SHA-256 message digest (FIPS 180-4), fed incrementally.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes in a SHA-256 digest.
inline constexpr size_t kSha256DigestSize = 32;
// Bytes in a block of the compression function.
inline constexpr size_t kSha256BlockSize = 64;

struct Sha256Context {
  uint64_t bitCount;  // bits in the blocks compressed so far
  uint32_t state[8];
  uint32_t bufferLength;  // pending bytes in buffer, 0..63 between calls
  uint8_t buffer[kSha256BlockSize];
};

// Starts a new message.
void Sha256Init(Sha256Context& ctx);
// Appends count bytes at data (data may be null when count is 0).
void Sha256Update(Sha256Context& ctx, const unsigned char* data, uint64_t count);
// Pads the message and writes its 32-byte digest; Init starts the next one.
void Sha256Final(Sha256Context& ctx, unsigned char* digest);
