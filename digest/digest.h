// The four message digests in one table, for code that picks one by kind,
// option or name rather than calling an engine by hand.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha256.h"
#include "digest/sha512.h"

// The digests, in the order of their rows in kDigests.
enum class DigestKind { Md5, Sha1, Sha256, Sha512 };

// Bytes in the longest digest.
inline constexpr size_t kMaxDigestSize =
    std::max({kMd5DigestSize, kSha1DigestSize, kSha256DigestSize, kSha512DigestSize});

// The running state of any of the digests, for digests fed in pieces.
union DigestContext {
  Md5Context md5;
  Sha1Context sha1;
  Sha256Context sha256;
  Sha512Context sha512;
};

struct DigestInfo {
  DigestKind kind;
  const char* name;       // "MD5", "SHA-1", "SHA-256", "SHA-512"
  const char* option;     // "-md5", "-sha1", "-sha256", "-sha512"
  const char* extension;  // ".md5", ".sha1", ".sha256", ".sha512"
  size_t size;            // 16, 20, 32, 64
  // Digest of the bytes in one pass; writes exactly `size` bytes to `out`.
  void (*compute)(const unsigned char* data, uint64_t length, unsigned char* out);
  // Bytes in a block of the compression function.
  size_t blockSize;
  // Starts a new message in ctx.
  void (*init)(DigestContext& ctx);
  // Appends count bytes at data (data may be null when count is 0).
  void (*update)(DigestContext& ctx, const unsigned char* data, uint64_t count);
  // Pads the message and writes exactly `size` bytes to `out`.
  void (*final)(DigestContext& ctx, unsigned char* out);
  // Whether this CPU runs code faster than the portable one for it.
  bool (*accelerated)();
};

// The four digests, in the order above.
extern const std::array<DigestInfo, 4> kDigests;

// Returns the row of `kind`.
const DigestInfo& DigestInfoOf(DigestKind kind);
