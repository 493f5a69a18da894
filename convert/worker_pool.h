// Threads that run queued tasks in the order they were queued.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class WorkerPool {
 public:
  // Starts `threads` workers.
  explicit WorkerPool(size_t threads);
  // Finishes the queued tasks, then stops the workers.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Queues the task; the first free worker runs it.
  void Queue(std::function<void()> task);

 private:
  void Work();

  std::mutex lock_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> tasks_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};
