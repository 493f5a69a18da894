// SHA-512 message digest (FIPS 180-4), fed incrementally.
#pragma once

#include <cstdint>

// Bytes in a SHA-512 digest.
constexpr int kSha512DigestSize = 64;

struct Sha512Context {
  uint64_t bitCount;      // bits in the blocks compressed so far
  uint64_t state[8];
  uint32_t bufferLength;  // pending bytes in buffer, 0..127 between calls
  uint8_t buffer[128];
};

// Starts a new message.
void Sha512Init(Sha512Context& ctx);
// Appends count bytes at data (data may be null when count is 0).
void Sha512Update(Sha512Context& ctx, const unsigned char* data,
                  uint64_t count);
// Pads the message and writes its 64-byte digest; Init starts the next one.
void Sha512Final(Sha512Context& ctx, unsigned char* digest);
// Compresses the 128-byte block at data into the state; bitCount is untouched.
void Sha512Transform(Sha512Context& ctx, const unsigned char* block);
