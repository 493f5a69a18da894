// Threads that run queued tasks in the order they were queued.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Starts a thread running `work`; throws what std::thread throws when the
// system refuses one.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

// Returns a running std::thread.
std::thread StartThread(std::function<void()> work);

class WorkerPool {
 public:
  // Starts up to `threads` workers: as many as the system lets start, maybe
  // none (see Workers()). Never throws.
  explicit WorkerPool(size_t threads, const ThreadStarter& start = StartThread);
  // Finishes the queued tasks, then stops the workers.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Returns how many workers are running.
  size_t Workers() const { return workers_.size(); }

  // Queues the task; the first free worker runs it. False, with the task not
  // queued, when there is no worker or no memory to queue it.
  bool Queue(std::function<void()> task);
  // Queues the task ahead of every task queued before it; false as Queue.
  bool QueueFirst(std::function<void()> task);

 private:
  void Work();
  // Queues the task first or last; false as Queue.
  bool Add(std::function<void()>& task, bool first);

  std::mutex lock_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> tasks_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};
