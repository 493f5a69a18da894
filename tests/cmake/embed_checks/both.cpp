// Links liba and libb, which embed a logo.png each: prints liba's, then libb's, whose header libb makes PUBLIC.
#include <cstdio>
#include <string>

#include "logo.png.h"

std::string LibaLogo();

int main() {
  std::fputs(LibaLogo().c_str(), stdout);
  std::fwrite(libb::assets::logo_png, 1, libb::assets::logo_png_size, stdout);
}
