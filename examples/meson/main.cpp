// Prints the embedded notes.txt, then the file of the site catalogue at the
// path given as the argument (index.html by default).
#include <cstdio>
#include <string_view>

#include "notes.txt.h"
#include "site.h"

int main(int argc, char** argv) {
  std::fwrite(Data::notes_txt, 1, Data::notes_txt_size, stdout);
  const std::string_view wanted = argc > 1 ? argv[1] : "index.html";
  const Data::site_entry* found = Data::site_find(wanted);
  if (!found) {
    std::printf("%.*s: not in the catalogue\n", static_cast<int>(wanted.size()), wanted.data());
    return 1;
  }
  std::fwrite(found->data, 1, found->size, stdout);
  return 0;
}
