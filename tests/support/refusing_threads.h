// A thread starter that runs out of threads, as under a process or memory limit.
#pragma once

#include <system_error>

#include "convert/worker_pool.h"

// Starts the first `allowed` threads, then throws what std::thread throws.
inline ThreadStarter RefusingAfter(size_t allowed) {
  return [allowed, started = size_t{0}](std::function<void()> work) mutable {
    if (started++ == allowed)
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    return std::thread(std::move(work));
  };
}
