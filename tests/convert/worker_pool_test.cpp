#include "convert/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>

#include "support/refusing_threads.h"

namespace {

TEST(WorkerPoolTest, RunsEveryTaskOnTheThreadsThatStart) {
  for (const size_t allowed : std::initializer_list<size_t>{0, 1, 3, 4}) {
    std::atomic<int> ran{0};
    {
      WorkerPool pool(3, RefusingAfter(allowed));
      EXPECT_EQ(pool.Workers(), allowed < 3 ? allowed : 3);
      // A task that throws ends neither its worker nor the process.
      EXPECT_EQ(pool.Queue([] { throw 0; }), allowed > 0);
      for (int task = 0; task < 5; ++task)
        EXPECT_EQ(pool.Queue([&ran] { ++ran; }), allowed > 0);
    }
    EXPECT_EQ(ran, allowed > 0 ? 5 : 0) << allowed;
  }
}

TEST(WorkerPoolTest, RunsATaskQueuedFirstAheadOfTheQueuedOnes) {
  std::string order;  // written by the one worker only, read once it has ended
  {
    WorkerPool pool(1);
    std::promise<void> release;
    ASSERT_TRUE(pool.Queue([released = release.get_future().share()] { released.wait(); }));
    ASSERT_TRUE(pool.Queue([&] { order += 'a'; }));
    ASSERT_TRUE(pool.Queue([&] { order += 'b'; }));
    ASSERT_TRUE(pool.QueueFirst([&] { order += 'c'; }));
    release.set_value();
  }
  EXPECT_EQ(order, "cab");
  EXPECT_FALSE(WorkerPool(1, RefusingAfter(0)).QueueFirst([] {}));
}

}  // namespace
