// MD5 message digest (RFC 1321), fed incrementally. Kept for checksum files
// that still use it, not for anything that needs collision resistance.
#pragma once

#include <cstdint>

// Bytes in an MD5 digest.
constexpr int kMd5DigestSize = 16;

struct Md5Context {
  uint32_t countLow;   // message length in bytes modulo 2^29
  uint32_t countHigh;  // message length in bytes divided by 2^29
  uint32_t state[4];   // A, B, C, D
  uint8_t buffer[64];  // pending bytes: countLow % 64 of them
  uint32_t words[16];  // the block being compressed, as little-endian words
};

// Starts a new message.
void Md5Init(Md5Context& ctx);
// Appends count bytes at data (data may be null when count is 0).
void Md5Update(Md5Context& ctx, const unsigned char* data, uint64_t count);
// Pads the message and writes its 16-byte digest; Init starts the next one.
void Md5Final(Md5Context& ctx, unsigned char* digest);
// Compresses the whole blocks in byteCount bytes at data; returns their end.
const unsigned char* Md5Transform(Md5Context& ctx, const unsigned char* data,
                                  uint64_t byteCount);
