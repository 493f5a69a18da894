// Runs a fuzz target over the files of the folders named, its seeds, without libFuzzer: the ordinary test build
// replays every seed through the target's oracle, which stops the run on a broken property.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    for (const auto& seed : std::filesystem::directory_iterator(argv[i])) {
      // Named first, so that the seed that breaks a property is the last one shown.
      std::fprintf(stderr, "%s\n", seed.path().c_str());
      std::ifstream in(seed.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
  }
  return 0;
}
