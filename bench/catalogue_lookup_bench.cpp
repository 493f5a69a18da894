// name_find() of a catalogue of 10,000 entries against a std::unordered_map
// of the same paths built at start-up: one million lookups each, the paths
// asked for in a shuffled order. Then name_list() and name_under() of its
// 100 folders, in a shuffled order, which should take at most twice the time
// of one name_find().
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
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

std::vector<std::string> ShuffledFolders() {
  std::vector<std::string> folders;
  for (const Data::lookup_child& child : Data::lookup_list(""))
    folders.emplace_back(child.name);
  std::shuffle(folders.begin(), folders.end(), std::mt19937(100));
  return folders;
}

template <auto Browse>
void CatalogueBrowse(benchmark::State& state) {
  const std::vector<std::string> folders = ShuffledFolders();
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Browse(folders[next]).first);
    next = next + 1 == folders.size() ? 0 : next + 1;
  }
}
BENCHMARK(CatalogueBrowse<Data::lookup_list>)->Name("CatalogueList")->Iterations(kLookups);
BENCHMARK(CatalogueBrowse<Data::lookup_under>)->Name("CatalogueUnder")->Iterations(kLookups);

}  // namespace
