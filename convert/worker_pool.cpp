#include "convert/worker_pool.h"

std::thread StartThread(std::function<void()> work) {
  return std::thread(std::move(work));
}

WorkerPool::WorkerPool(size_t threads, const ThreadStarter& start) {
  // A thread the system refuses (address space, process limit) means fewer
  // workers, never a failed run: unwinding here would destroy the running
  // threads, and that ends the process. The room is reserved first so that
  // keeping a started thread can't fail.
  try {
    workers_.reserve(threads);
    for (size_t i = 0; i < threads; ++i)
      workers_.push_back(start([this] { Work(); }));
  } catch (...) {
  }
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  queued_.notify_all();
  for (std::thread& worker : workers_)
    worker.join();
}

bool WorkerPool::Queue(std::function<void()> task) {
  return Add(task, false);
}

bool WorkerPool::QueueFirst(std::function<void()> task) {
  return Add(task, true);
}

bool WorkerPool::Add(std::function<void()>& task, bool first) {
  if (workers_.empty())
    return false;
  try {
    std::lock_guard<std::mutex> guard(lock_);
    if (first)
      tasks_.push_front(std::move(task));
    else
      tasks_.push_back(std::move(task));
  } catch (...) {
    return false;
  }
  queued_.notify_one();
  return true;
}

void WorkerPool::Work() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock<std::mutex> guard(lock_);
      queued_.wait(guard, [this] { return stopping_ || !tasks_.empty(); });
      if (tasks_.empty())
        return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    // A task that throws would end the process from a thread; its owner
    // learns of the failure from the promise the task leaves unkept.
    try {
      task();
    } catch (...) {
    }
  }
}
