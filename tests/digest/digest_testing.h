// What the digest tests share: every digest of the table on its portable
// code and, where this CPU runs it, on its accelerated code, and digests
// that fail the test when they write past their size.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "digest/cpu_dispatch.h"
#include "digest/digest.h"

namespace digest_test {

using Bytes = std::vector<unsigned char>;

inline Bytes RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  Bytes bytes(count);
  for (unsigned char& b : bytes)
    b = static_cast<unsigned char>(generator());
  return bytes;
}

inline std::string Hex(const unsigned char* bytes, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < size; ++i)
    hex += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
  return hex;
}

// Runs write(out) and returns the first `size` bytes of out in hex; the
// bytes after them must be left alone.
template <typename Write>
std::string Written(size_t size, Write write) {
  constexpr unsigned char kCanary = 0xa5;
  unsigned char out[kMaxDigestSize + 16];
  std::memset(out, kCanary, sizeof out);
  write(out);
  for (size_t i = size; i < sizeof out; ++i)
    EXPECT_EQ(out[i], kCanary) << "byte " << i << " is past the digest";
  return Hex(out, size);
}

inline std::string OneShot(const DigestInfo& info, const unsigned char* data, uint64_t count) {
  return Written(info.size, [&](unsigned char* out) { info.compute(data, count, out); });
}

// Feeds the message in pieces of the given sizes, taken in turn.
inline std::string InPieces(const DigestInfo& info, const Bytes& message, const std::vector<size_t>& sizes) {
  DigestContext ctx;
  info.init(ctx);
  info.update(ctx, nullptr, 0);
  for (size_t at = 0, k = 0; at < message.size(); ++k) {
    const size_t count = std::min(sizes[k % sizes.size()], message.size() - at);
    info.update(ctx, message.data() + at, count);
    at += count;
  }
  return Written(info.size, [&](unsigned char* out) { info.final(ctx, out); });
}

struct Engine {
  DigestKind kind;
  bool accelerated;
};

inline std::vector<Engine> Engines() {
  std::vector<Engine> engines;
  for (const DigestInfo& info : kDigests) {
    engines.push_back({info.kind, false});
    if (info.accelerated())
      engines.push_back({info.kind, true});
  }
  return engines;
}

inline std::string EngineName(const testing::TestParamInfo<Engine>& param) {
  std::string name;
  for (const char* c = DigestInfoOf(param.param.kind).name; *c != '\0'; ++c)
    if (std::isalnum(static_cast<unsigned char>(*c)))
      name += *c;
  return name + (param.param.accelerated ? "_accelerated" : "_portable");
}

// Runs each case on the engine's own code, allowing acceleration again
// afterwards.
class DigestEngineTest : public testing::TestWithParam<Engine> {
 protected:
  void SetUp() override { DigestAllowAcceleration(GetParam().accelerated); }
  void TearDown() override { DigestAllowAcceleration(true); }
  const DigestInfo& Info() const { return DigestInfoOf(GetParam().kind); }
};

}  // namespace digest_test
