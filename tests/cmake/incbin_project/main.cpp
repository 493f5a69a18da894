#include <cstdio>

#include "a.bin.h"
#include "shelf.h"

int main() {
  std::printf("%.*s %.*s\n", int(Data::a_bin_size), reinterpret_cast<const char*>(Data::a_bin),
              int(Data::shelf[0].size), reinterpret_cast<const char*>(Data::shelf[0].data));
}
