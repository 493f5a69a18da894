// MD5 message digest (RFC 1321), fed incrementally. Kept for checksum files
// that still use it, not for anything that needs collision resistance.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes in an MD5 digest.
inline constexpr size_t kMd5DigestSize = 16;
// Bytes in a block of the compression function.
inline constexpr size_t kMd5BlockSize = 64;

struct Md5Context {
  uint64_t bitCount;      // bits in the blocks compressed so far
  uint32_t state[4];      // A, B, C, D
  uint32_t bufferLength;  // pending bytes in buffer, 0..63 between calls
  uint8_t buffer[kMd5BlockSize];
};

// Starts a new message.
void Md5Init(Md5Context& ctx);
// Appends count bytes at data (data may be null when count is 0).
void Md5Update(Md5Context& ctx, const unsigned char* data, uint64_t count);
// Pads the message and writes its 16-byte digest; Init starts the next one.
void Md5Final(Md5Context& ctx, unsigned char* digest);
