#include "app/settings.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

size_t ScanThreadsFrom(const char* jobs) {
  // More threads than this only hold more files in memory at once.
  constexpr unsigned long kMostThreads = 256;
  if (jobs) {
    char* end = nullptr;
    const unsigned long count = std::strtoul(jobs, &end, 10);
    if (*jobs && !*end && count > 0)
      return std::min(count, kMostThreads);
  }
  return std::max(1u, std::thread::hardware_concurrency());
}
