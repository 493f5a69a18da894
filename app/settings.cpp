#include "app/settings.h"

#include <algorithm>
#include <thread>

std::optional<size_t> ParseScanThreads(const char* jobs) {
  // More threads than this only hold more files in memory at once.
  constexpr size_t kMostThreads = 256;
  size_t count = 0;
  for (const char* digit = jobs; *digit; ++digit) {
    if (*digit < '0' || *digit > '9')
      return std::nullopt;
    count = count * 10 + static_cast<size_t>(*digit - '0');
    if (count > kMostThreads)
      return std::nullopt;
  }
  if (count == 0)
    return std::nullopt;
  return count;
}

size_t DefaultScanThreads() {
  return std::max(1u, std::thread::hardware_concurrency());
}
