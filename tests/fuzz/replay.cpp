// A fuzz target's main() without libFuzzer: every seed in the folders named goes through the target's oracle.
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    for (const auto& seed : std::filesystem::directory_iterator(argv[i])) {
      // Named first, so that the seed that breaks a property is the last one shown.
      std::fprintf(stderr, "%s\n", seed.path().c_str());
      const std::string bytes = Slurp(seed.path().string());
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
  return 0;
}
