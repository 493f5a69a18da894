// Built with -cpp_md5: prints the MD5 digest of b/data.bin that the array holds.
#include <cstdio>

#include "data.bin.h"

int main() {
  for (std::size_t i = 0; i < Data::data_bin_size; ++i)
    std::printf("%02x", Data::data_bin[i]);
}
