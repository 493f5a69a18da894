// What the digest tests share: every digest of the table on its portable code and, where this CPU runs it, on its
// accelerated code.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "digest/cpu_dispatch.h"
#include "digest/digest.h"
#include "support/hex.h"

namespace digest_test {

using Bytes = std::vector<unsigned char>;
// A message as consecutive pieces of memory.
using Pieces = std::vector<std::pair<const unsigned char*, uint64_t>>;

inline Bytes RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  Bytes bytes(count);
  std::ranges::generate(bytes, [&] { return static_cast<unsigned char>(generator()); });
  return bytes;
}

inline std::string HexOf(const unsigned char* bytes, size_t size) { return Hex({reinterpret_cast<const char*>(bytes), size}); }

// Runs write(out) and returns the first `size` bytes of out in hex; the bytes after them must be left alone.
template <typename Write>
std::string Written(size_t size, Write write) {
  constexpr unsigned char kCanary = 0xa5;
  unsigned char out[kMaxDigestSize + 16];
  std::memset(out, kCanary, sizeof out);
  write(out);
  EXPECT_EQ(std::count(out + size, std::end(out), kCanary), std::end(out) - out - size) << "written past the digest";
  return HexOf(out, size);
}

inline std::string OneShot(const DigestInfo& info, const unsigned char* data, uint64_t count) {
  return Written(info.size, [&](unsigned char* out) { info.compute(data, count, out); });
}

// Feeds the pieces in turn, after an empty one.
inline std::string InPieces(const DigestInfo& info, const Pieces& pieces) {
  DigestContext ctx;
  info.init(ctx);
  info.update(ctx, nullptr, 0);
  for (const auto& [data, count] : pieces)
    info.update(ctx, data, count);
  return Written(info.size, [&](unsigned char* out) { info.final(ctx, out); });
}

// Cuts the message into pieces of the given sizes, taken in turn.
inline Pieces Cut(const unsigned char* message, uint64_t size, const std::vector<uint64_t>& sizes) {
  Pieces pieces;
  for (uint64_t at = 0, k = 0; at < size; at += pieces.back().second)
    pieces.emplace_back(message + at, std::min(sizes[k++ % sizes.size()], size - at));
  return pieces;
}

// A digest on its portable code or, where this CPU runs it, on its accelerated code.
using Engine = std::pair<DigestKind, bool>;

inline std::vector<Engine> Engines() {
  std::vector<Engine> engines;
  for (const DigestInfo& info : kDigests) {
    engines.emplace_back(info.kind, false);
    if (info.accelerated())
      engines.emplace_back(info.kind, true);
  }
  return engines;
}

inline std::string EngineName(const testing::TestParamInfo<Engine>& param) {
  std::string name = DigestInfoOf(param.param.first).name;
  std::erase(name, '-');
  return name + (param.param.second ? "_accelerated" : "_portable");
}

// Runs each case on the engine's own code, allowing acceleration again afterwards.
class DigestEngineTest : public testing::TestWithParam<Engine> {
 protected:
  void SetUp() override { DigestAllowAcceleration(GetParam().second); }
  void TearDown() override { DigestAllowAcceleration(true); }
  const DigestInfo& Info() const { return DigestInfoOf(GetParam().first); }
};

}  // namespace digest_test
