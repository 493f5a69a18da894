// Links two libraries that each embed a logo.png: prints liba's, then
// libb's, whose header comes with libb (PUBLIC).
#include <cstdio>
#include <string>

#include "logo.png.h"

std::string LibaLogo();

int main() {
  const std::string b(libb::assets::logo_png, libb::assets::logo_png + libb::assets::logo_png_size);
  std::printf("%s%s", LibaLogo().c_str(), b.c_str());
  return 0;
}
