// SHA-1 message digest (FIPS 180-4), fed incrementally. Kept for checksum
// files that still use it, not for anything that needs collision resistance.
#pragma once

#include <cstdint>

// Bytes in a SHA-1 digest.
constexpr int kSha1DigestSize = 20;

struct Sha1Context {
  uint32_t state[5];
  uint32_t bitCountLow;   // message length in bits modulo 2^32
  uint32_t bitCountHigh;  // message length in bits divided by 2^32
  uint8_t buffer[64];     // pending bytes: bitCountLow / 8 % 64 of them
};

// Starts a new message.
void Sha1Init(Sha1Context& ctx);
// Appends count bytes at data (data may be null when count is 0).
void Sha1Update(Sha1Context& ctx, const unsigned char* data, uint64_t count);
// Pads the message and writes its 20-byte digest; Init starts the next one.
void Sha1Final(Sha1Context& ctx, unsigned char* digest);
// Compresses the 64-byte block at data into the state; counts are untouched.
void Sha1Transform(Sha1Context& ctx, const unsigned char* block);
