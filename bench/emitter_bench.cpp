// Throughput of the data source text, in bytes of generated text a second.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "app/settings.h"
#include "codegen/data_source.h"

namespace {

void EmitRandom(benchmark::State& state, bool hex) {
  const size_t size = static_cast<size_t>(state.range(0));
  std::string bytes(size, '\0');
  std::mt19937_64 random(42);
  for (char& c : bytes)
    c = static_cast<char>(random());
  ByteBuffer buffer;
  buffer.Assign(bytes.data(), bytes.size());
  g_settings = Settings{};
  g_settings.hexOutput = hex;
  size_t produced = 0;
  for (auto _ : state) {
    std::string text;
    EmitDataSource(buffer, "data_bin", text);
    produced += text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(produced));
}

void BM_EmitHex(benchmark::State& state) { EmitRandom(state, true); }
void BM_EmitDecimal(benchmark::State& state) { EmitRandom(state, false); }

BENCHMARK(BM_EmitHex)->Arg(1 << 16)->Arg(64 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmitDecimal)->Arg(64 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
