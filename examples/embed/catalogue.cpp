// Lists the catalogue of site/ (path, size and the start of the SHA-256 of
// each file), then looks up the path given as the argument and prints its
// bytes.
#include <cstdio>
#include <string_view>

#include "site.h"

int main(int argc, char** argv) {
  for (std::size_t i = 0; i < Data::site_count; ++i) {
    const Data::site_entry& entry = Data::site[i];
    std::printf("%.*s %zu %02x%02x%02x%02x\n", static_cast<int>(entry.path.size()), entry.path.data(), entry.size,
                entry.sha256[0], entry.sha256[1], entry.sha256[2], entry.sha256[3]);
  }
  const std::string_view wanted = argc > 1 ? argv[1] : "index.html";
  const Data::site_entry* found = Data::site_find(wanted);
  if (!found) {
    std::printf("%.*s: not in the catalogue\n", static_cast<int>(wanted.size()), wanted.data());
    return 1;
  }
  std::fwrite(found->data, 1, found->size, stdout);
  return 0;
}
