// Prints the name, size and MD5 digest of each embedded file, computed from
// the bytes compiled into this program.
#include <cstdio>

#include "loom.png.h"
#include "md5.h"
#include "notes.txt.h"

namespace {

void Describe(const char* name, const unsigned char* data, unsigned long long size) {
  std::printf("%s %llu %s\n", name, size, Md5Hex(data, size).c_str());
}

}  // namespace

int main() {
  Describe("loom.png", Data::loom_png, Data::loom_png_size);
  Describe("notes.txt", Data::notes_txt, Data::notes_txt_size);
  return 0;
}
