// Reads its own logo.png, embedded in namespace liba.
#include <string>

#include "logo.png.h"

std::string LibaLogo() {
  return std::string(liba::logo_png, liba::logo_png + liba::logo_png_size);
}
