#include "convert/worker_pool.h"

WorkerPool::WorkerPool(size_t threads) {
  for (size_t i = 0; i < threads; ++i)
    workers_.emplace_back([this] { Work(); });
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

void WorkerPool::Queue(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    tasks_.push_back(std::move(task));
  }
  queued_.notify_one();
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
    task();
  }
}
