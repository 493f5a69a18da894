// SHA-1 message digest (FIPS 180-4), fed incrementally. Kept for checksum
// files that still use it, not for anything that needs collision resistance.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes in a SHA-1 digest.
inline constexpr size_t kSha1DigestSize = 20;
// Bytes in a block of the compression function.
inline constexpr size_t kSha1BlockSize = 64;

struct Sha1Context {
  uint64_t bitCount;  // bits in the blocks compressed so far
  uint32_t state[5];
  uint32_t bufferLength;  // pending bytes in buffer, 0..63 between calls
  uint8_t buffer[kSha1BlockSize];
};

// Starts a new message.
void Sha1Init(Sha1Context& ctx);
// Appends count bytes at data (data may be null when count is 0).
void Sha1Update(Sha1Context& ctx, const unsigned char* data, uint64_t count);
// Pads the message and writes its 20-byte digest; Init starts the next one.
void Sha1Final(Sha1Context& ctx, unsigned char* digest);
