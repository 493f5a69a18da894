// Each digest against libcrypto's EVP on the same buffer, and the portable
// code of those that have accelerated code beside it on this CPU.

#include <openssl/evp.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "digest/cpu_dispatch.h"
#include "digest/digest.h"

namespace {

constexpr size_t kBufferSize = 64 << 20;

// Random bytes, made once and shared by every benchmark.
const std::vector<unsigned char>& Buffer() {
  static const std::vector<unsigned char> buffer = [] {
    std::vector<unsigned char> bytes(kBufferSize);
    std::mt19937_64 generator(42);
    for (size_t i = 0; i < bytes.size(); i += 8) {
      const uint64_t word = generator();
      for (size_t j = 0; j < 8; ++j)
        bytes[i + j] = static_cast<unsigned char>(word >> (8 * j));
    }
    return bytes;
  }();
  return buffer;
}

// The digest on the code this CPU runs by default, or kept on its portable
// code for the duration.
void BM_Hexloom(benchmark::State& state, const DigestInfo* info, bool portable) {
  const std::vector<unsigned char>& buffer = Buffer();
  unsigned char digest[kMaxDigestSize];
  DigestAllowAcceleration(!portable);
  for (auto _ : state) {
    info->compute(buffer.data(), buffer.size(), digest);
    benchmark::DoNotOptimize(digest);
  }
  DigestAllowAcceleration(true);
  state.SetBytesProcessed(state.iterations() * buffer.size());
  if (!portable)
    state.SetLabel(info->accelerated() ? "accelerated" : "portable");
}

void BM_OpenSsl(benchmark::State& state, const DigestInfo* info) {
  const std::vector<unsigned char>& buffer = Buffer();
  const EVP_MD* md = EVP_get_digestbyname(info->name);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  for (auto _ : state) {
    EVP_Digest(buffer.data(), buffer.size(), digest, &size, md, nullptr);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * buffer.size());
}

const bool kRegistered = [] {
  for (const DigestInfo& info : kDigests) {
    const std::string name = info.name;
    benchmark::RegisterBenchmark((name + "/hexloom").c_str(), BM_Hexloom, &info, false)->Unit(benchmark::kMillisecond);
    if (info.accelerated())
      benchmark::RegisterBenchmark((name + "/hexloom-portable").c_str(), BM_Hexloom, &info, true)
          ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "/openssl").c_str(), BM_OpenSsl, &info)->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
