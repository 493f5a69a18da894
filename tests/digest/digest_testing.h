// What the digest tests share: random messages, and a digest taken in one pass or in pieces.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "digest/digest.h"
#include "support/hex.h"

using Bytes = std::vector<unsigned char>;

inline Bytes RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  Bytes bytes(count);
  std::ranges::generate(bytes, [&] { return static_cast<unsigned char>(generator()); });
  return bytes;
}

// The digest in hex of `size` bytes at `message`: in one pass when `sizes` is empty, else after an empty piece in
// pieces of these sizes, taken in turn. The bytes after the digest must be left alone.
inline std::string Digest(const DigestInfo& info, const unsigned char* message, uint64_t size,
                          const std::vector<uint64_t>& sizes = {}) {
  constexpr char kCanary = '\xa5';
  std::string out(kMaxDigestSize + 16, kCanary);
  auto* bytes = reinterpret_cast<unsigned char*>(out.data());
  DigestContext ctx;
  info.init(ctx);
  info.update(ctx, nullptr, 0);
  for (uint64_t at = 0, k = 0, piece = 0; at < size && !sizes.empty(); at += piece)
    info.update(ctx, message + at, piece = std::min(sizes[k++ % sizes.size()], size - at));
  sizes.empty() ? info.compute(message, size, bytes) : info.final(ctx, bytes);
  EXPECT_EQ(out.substr(info.size), std::string(out.size() - info.size, kCanary)) << "written past the digest";
  return Hex(out.substr(0, info.size));
}
