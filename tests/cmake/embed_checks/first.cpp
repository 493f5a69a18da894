// Built with -stl -nons: global std::vectors holding a/data.bin and a/new, whose name is a keyword.
#include <cstdio>

#include "data.bin.h"
#include "new.h"

int main() {
  std::printf("%zu %zu %zu\n", data_bin.size(), static_cast<std::size_t>(data_bin_size), new_.size() + new__size);
}
