// Built with -stl -nons: a global std::vector holding a/data.bin.
#include <cstdio>

#include "data.bin.h"

int main() {
  std::printf("%zu %zu\n", data_bin.size(), static_cast<std::size_t>(data_bin_size));
  return 0;
}
