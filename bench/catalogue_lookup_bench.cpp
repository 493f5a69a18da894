// name_find() of a catalogue of 10,000 entries against a std::unordered_map
// of the same paths built at start-up: one million lookups each, the paths
// asked for in a shuffled order.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lookup.h"

namespace {

constexpr int64_t kLookups = 1000000;

std::vector<std::string_view> ShuffledPaths() {
  std::vector<std::string_view> paths;
  for (size_t i = 0; i < Data::lookup_count; ++i)
    paths.push_back(Data::lookup[i].path);
  std::shuffle(paths.begin(), paths.end(), std::mt19937(10000));
  return paths;
}

void CatalogueFind(benchmark::State& state) {
  const std::vector<std::string_view> paths = ShuffledPaths();
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Data::lookup_find(paths[next]));
    next = next + 1 == paths.size() ? 0 : next + 1;
  }
}
BENCHMARK(CatalogueFind)->Iterations(kLookups);

void UnorderedMapFind(benchmark::State& state) {
  const std::vector<std::string_view> paths = ShuffledPaths();
  std::unordered_map<std::string_view, const Data::lookup_entry*> map;
  for (size_t i = 0; i < Data::lookup_count; ++i)
    map.emplace(Data::lookup[i].path, &Data::lookup[i]);
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.find(paths[next]));
    next = next + 1 == paths.size() ? 0 : next + 1;
  }
}
BENCHMARK(UnorderedMapFind)->Iterations(kLookups);

}  // namespace
