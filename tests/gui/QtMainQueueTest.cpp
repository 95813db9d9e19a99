#include "QtApp.h"
#include "gui/QtMainQueue.h"

#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

namespace kelpa::testing {
namespace {

using platform::QtMainQueue;
using namespace std::chrono_literals;

class QtMainQueueTest : public ::testing::Test {
protected:
    void SetUp() override { qtApp(); }
    std::shared_ptr<QtMainQueue> queue = std::make_shared<QtMainQueue>();
};

TEST_F(QtMainQueueTest, TasksFromAnyThreadRunOnTheMainThreadInTheOrderPosted) {
    std::vector<int> order;  // touched on the main thread only
    std::atomic<bool> wrongThread{false};
    const auto mainThread = QThread::currentThread();
    std::thread worker([&] {
        EXPECT_FALSE(queue->isMainThread());
        for (int i = 0; i < 100; ++i) {
            queue->post([&, i] {
                if (QThread::currentThread() != mainThread || !queue->isMainThread()) wrongThread = true;
                order.push_back(i);
            });
        }
    });
    worker.join();
    EXPECT_TRUE(queue->isMainThread());
    ASSERT_TRUE(spinUntil([&] { return order.size() == 100; }));
    EXPECT_FALSE(wrongThread);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
}

TEST_F(QtMainQueueTest, PostedTasksWaitForTheEventLoop) {
    bool ran = false;
    queue->post([&] { ran = true; });
    EXPECT_FALSE(ran);
    spinOnce();
    EXPECT_TRUE(ran);
}

TEST_F(QtMainQueueTest, DelayedTasksFireInDueOrderNotBefore) {
    std::vector<int> fired;
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration firstAfter{};
    queue->postAfter(60ms, [&] { fired.push_back(2); });
    queue->postAfter(20ms, [&] {
        firstAfter = std::chrono::steady_clock::now() - start;
        fired.push_back(1);
    });
    queue->postAfter(-5ms, [&] { fired.push_back(0); });  // a negative delay is due at once
    ASSERT_TRUE(spinUntil([&] { return fired.size() == 3; }));
    EXPECT_EQ(fired, (std::vector<int>{0, 1, 2}));
    EXPECT_GE(firstAfter, 20ms);
    EXPECT_EQ(queue->pendingTimers(), 0u);
}

TEST_F(QtMainQueueTest, CancelledTasksNeverRunFromWhicheverThreadTheyWereCancelled) {
    std::atomic<int> ran{0};
    auto onMain = queue->postAfter(10ms, [&] { ran += 1; });
    platform::MainQueue::TimerId fromWorker = 0;
    std::thread worker([&] { fromWorker = queue->postAfter(10ms, [&] { ran += 10; }); });
    worker.join();
    queue->cancel(onMain);
    std::thread canceller([&] { queue->cancel(fromWorker); });
    canceller.join();
    bool marker = false;
    queue->postAfter(40ms, [&] { marker = true; });
    ASSERT_TRUE(spinUntil([&] { return marker; }));
    EXPECT_EQ(ran, 0);
    queue->cancel(onMain);  // already gone: nothing happens
}

TEST_F(QtMainQueueTest, DelayedTasksPostedFromAWorkerRunOnTheMainThread) {
    std::atomic<bool> onMain{false};
    bool done = false;
    std::thread worker([&] {
        queue->postAfter(5ms, [&] {
            onMain = queue->isMainThread();
            done = true;
        });
    });
    worker.join();
    ASSERT_TRUE(spinUntil([&] { return done; }));
    EXPECT_TRUE(onMain);
}

TEST_F(QtMainQueueTest, CountsBackgroundWorkInFlight) {
    queue->retainWork();
    std::thread worker([&] {
        queue->retainWork();
        queue->releaseWork();
    });
    worker.join();
    EXPECT_EQ(queue->workInFlight(), 1);
    queue->releaseWork();
    EXPECT_EQ(queue->workInFlight(), 0);
}

TEST_F(QtMainQueueTest, NowIsTheWallClock) {
    const auto before = std::chrono::system_clock::now();
    const auto now = queue->now();
    EXPECT_GE(now, before);
    EXPECT_LE(now, std::chrono::system_clock::now());
}

TEST_F(QtMainQueueTest, ALastReleaseOnAWorkerLeavesPendingTasksHarmless) {
    bool ran = false;
    queue->postAfter(5ms, [&] { ran = true; });
    std::thread worker([q = std::move(queue)]() mutable { q.reset(); });
    worker.join();
    // The receiver goes with the next turn of the loop, and the timer with it.
    spinUntil([] { return false; }, 30ms);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace kelpa::testing
