// Throughput of the data source text, in bytes of generated text a second:
// the text made piece by piece as the tool makes it (brace list in hex and
// decimal, string literal), and made whole.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "codegen/data_source.h"

namespace {

void FillRandom(ByteBuffer& buffer, size_t size) {
  std::string bytes(size, '\0');
  std::mt19937_64 random(42);
  for (char& c : bytes)
    c = static_cast<char>(random());
  buffer.Assign(bytes.data(), bytes.size());
}

void BM_EmitPieces(benchmark::State& state, SourceStyle style) {
  ByteBuffer buffer;
  FillRandom(buffer, static_cast<size_t>(state.range(0)));
  constexpr size_t kCapacity = 1 << 20;
  std::unique_ptr<char[]> piece(new char[kCapacity]);
  uint64_t produced = 0;
  for (auto _ : state) {
    DataSourceText text(buffer, "data_bin", style);
    while (size_t length = text.Next(piece.get(), kCapacity)) {
      benchmark::DoNotOptimize(piece.get());
      produced += length;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(produced));
}

void BM_EmitWhole(benchmark::State& state) {
  ByteBuffer buffer;
  FillRandom(buffer, static_cast<size_t>(state.range(0)));
  uint64_t produced = 0;
  for (auto _ : state) {
    std::string text;
    EmitDataSource(buffer, "data_bin", SourceStyle{}, text);
    produced += text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(produced));
}

constexpr int64_t kInputSize = 64 << 20;
BENCHMARK_CAPTURE(BM_EmitPieces, hex, SourceStyle{})->Arg(kInputSize)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EmitPieces, decimal, SourceStyle{.hexOutput = false})
    ->Arg(kInputSize)
    ->Unit(benchmark::kMillisecond);
// The string literal (-str), whose rows are 64 bytes unless a width is chosen.
BENCHMARK_CAPTURE(BM_EmitPieces, literal, SourceStyle{.stringLiteral = true})
    ->Arg(kInputSize)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmitWhole)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
