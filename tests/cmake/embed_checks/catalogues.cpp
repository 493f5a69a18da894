// Prints the keys of each catalogue on a line.
#include <cstdio>

#include "all.h"
#include "based.h"
#include "plain.h"

template <class Entry>
void Keys(const char* name, const Entry* entries, std::size_t count) {
  std::printf("%s:", name);
  for (std::size_t i = 0; i < count; ++i)
    std::printf(" %.*s", static_cast<int>(entries[i].path.size()), entries[i].path.data());
  std::printf("\n");
}

int main() {
  Keys("plain", Data::plain, Data::plain_count);
  Keys("all", Data::all, Data::all_count);
  Keys("based", Data::based, Data::based_count);
}
