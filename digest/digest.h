// The four digests behind one table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class DigestKind { Md5, Sha1, Sha256, Sha512 };
inline constexpr size_t kMaxDigestSize = 64;

struct DigestInfo {
  DigestKind kind;
  const char* name;       // "MD5", "SHA-1", "SHA-256", "SHA-512"
  const char* option;     // "-md5", "-sha1", "-sha256", "-sha512"
  const char* extension;  // ".md5", ".sha1", ".sha256", ".sha512"
  size_t size;            // bytes in the digest
  // Digest of the bytes in one pass; writes exactly `size` bytes to `out`.
  void (*compute)(const unsigned char* data, uint64_t length, unsigned char* out);
};

// The four digests, in the order of DigestKind.
extern const std::array<DigestInfo, 4> kDigests;

// Returns the row of `kind`.
const DigestInfo& DigestInfoOf(DigestKind kind);
