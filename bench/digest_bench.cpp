// Each digest engine against libcrypto's EVP on the same buffer, and the
// portable code of those that have accelerated code beside it.

#include <openssl/evp.h>

#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha256.h"
#include "digest/sha512.h"
#include "digest/cpu_dispatch.h"

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

template <typename Ctx, void (*Init)(Ctx&),
          void (*Update)(Ctx&, const unsigned char*, uint64_t),
          void (*Final)(Ctx&, unsigned char*)>
void BM_Hexloom(benchmark::State& state) {
  const std::vector<unsigned char>& buffer = Buffer();
  unsigned char digest[64];
  for (auto _ : state) {
    Ctx ctx;
    Init(ctx);
    Update(ctx, buffer.data(), buffer.size());
    Final(ctx, digest);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * buffer.size());
}

// The same engine kept on its portable code for the duration.
template <typename Ctx, void (*Init)(Ctx&),
          void (*Update)(Ctx&, const unsigned char*, uint64_t),
          void (*Final)(Ctx&, unsigned char*)>
void BM_HexloomPortable(benchmark::State& state) {
  DigestAllowAcceleration(false);
  BM_Hexloom<Ctx, Init, Update, Final>(state);
  DigestAllowAcceleration(true);
}

template <const EVP_MD* (*Md)()>
void BM_OpenSsl(benchmark::State& state) {
  const std::vector<unsigned char>& buffer = Buffer();
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  for (auto _ : state) {
    EVP_Digest(buffer.data(), buffer.size(), digest, &size, Md(), nullptr);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * buffer.size());
}

// Names the code the default run used, which depends on the CPU.
template <typename Ctx, void (*Init)(Ctx&),
          void (*Update)(Ctx&, const unsigned char*, uint64_t),
          void (*Final)(Ctx&, unsigned char*), bool (*CpuCanAccelerate)()>
void BM_HexloomLabelled(benchmark::State& state) {
  BM_Hexloom<Ctx, Init, Update, Final>(state);
  state.SetLabel(CpuCanAccelerate() ? "accelerated" : "portable");
}

}  // namespace

BENCHMARK(BM_Hexloom<Md5Context, Md5Init, Md5Update, Md5Final>)
    ->Name("Md5/hexloom")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSsl<EVP_md5>)->Name("Md5/openssl")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexloomLabelled<Sha1Context, Sha1Init, Sha1Update, Sha1Final,
                             CpuHasShaExtensions>)
    ->Name("Sha1/hexloom")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexloomPortable<Sha1Context, Sha1Init, Sha1Update, Sha1Final>)
    ->Name("Sha1/hexloom-portable")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSsl<EVP_sha1>)->Name("Sha1/openssl")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexloomLabelled<Sha256Context, Sha256Init, Sha256Update,
                             Sha256Final, CpuHasShaExtensions>)
    ->Name("Sha256/hexloom")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexloomPortable<Sha256Context, Sha256Init, Sha256Update,
                             Sha256Final>)
    ->Name("Sha256/hexloom-portable")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSsl<EVP_sha256>)->Name("Sha256/openssl")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexloomLabelled<Sha512Context, Sha512Init, Sha512Update,
                             Sha512Final, CpuHasAvxBmi2>)
    ->Name("Sha512/hexloom")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexloomPortable<Sha512Context, Sha512Init, Sha512Update,
                             Sha512Final>)
    ->Name("Sha512/hexloom-portable")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSsl<EVP_sha512>)->Name("Sha512/openssl")
    ->Unit(benchmark::kMillisecond);
