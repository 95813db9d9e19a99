#include "TestEnvironment.h"

#include "platform/Async.h"
#include "platform/DispatchQueue.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;
using kelpa::platform::DispatchQueue;
using kelpa::platform::Timer;
using kelpa::testing::TestEnvironment;

TEST(MainQueue, VirtualClockFiresTimersInOrderWithoutWaiting) {
    TestEnvironment t;
    std::vector<int> fired;
    const auto start = t.loop().now();
    t.loop().postAfter(20s, [&] { fired.push_back(20); });
    t.loop().postAfter(10s, [&] { fired.push_back(10); });
    t.loop().postAfter(31s, [&] { fired.push_back(31); });

    const auto before = std::chrono::steady_clock::now();
    t.loop().runFor(30s);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);  // no real waiting
    EXPECT_EQ(fired, (std::vector<int>{10, 20}));
    EXPECT_EQ(t.loop().now() - start, 30s);

    t.loop().runFor(1s);
    EXPECT_EQ(fired, (std::vector<int>{10, 20, 31}));
}

TEST(MainQueue, CancelledTimerNeverRuns) {
    TestEnvironment t;
    bool ran = false;
    auto id = t.loop().postAfter(5s, [&] { ran = true; });
    t.loop().cancel(id);
    t.loop().runFor(10s);
    EXPECT_FALSE(ran);
}

TEST(MainQueue, BackgroundResultArrivesBeforeTheClockMoves) {
    TestEnvironment t;
    std::vector<std::string> order;
    t.loop().postAfter(1s, [&] { order.push_back("timer"); });
    kelpa::platform::runInBackground(
        "slow",
        [] {
            std::this_thread::sleep_for(50ms);  // real work taking real time
            return 7;
        },
        [&](int value) { order.push_back("result " + std::to_string(value)); });
    t.loop().runFor(2s);
    EXPECT_EQ(order, (std::vector<std::string>{"result 7", "timer"}));
}

TEST(MainQueue, CompletionRunsOnTheMainThreadAndWorkDoesNot) {
    TestEnvironment t;
    std::atomic<bool> workOnMain{true};
    bool doneOnMain = false;
    kelpa::platform::runInBackground(
        "where",
        [&] {
            workOnMain = t.loop().isMainThread();
            return 0;
        },
        [&](int) { doneOnMain = t.loop().isMainThread(); });
    t.settle();
    EXPECT_FALSE(workOnMain);
    EXPECT_TRUE(doneOnMain);
}

TEST(DispatchQueue, RunsItsTasksOneAfterAnotherInOrder) {
    TestEnvironment t;
    auto queue = DispatchQueue::create("serial");
    EXPECT_EQ(queue->label(), "serial");
    std::vector<int> seen;  // only the queue's tasks touch it, one at a time
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    for (int i = 0; i < 20; ++i) {
        queue->async([&, i] {
            if (running.fetch_add(1) != 0) overlapped = true;
            seen.push_back(i);
            running.fetch_sub(1);
        });
    }
    t.settle();
    EXPECT_FALSE(overlapped);
    std::vector<int> expected(20);
    for (int i = 0; i < 20; ++i) expected[i] = i;
    EXPECT_EQ(seen, expected);
}

TEST(DispatchQueue, SeparateQueuesRunConcurrently) {
    TestEnvironment t;
    // The first call blocks until the second has run: with a shared single thread this
    // would never finish.
    std::atomic<bool> secondRan{false};
    bool firstDone = false;
    kelpa::platform::runInBackground(
        "first",
        [&] {
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (!secondRan && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
            return secondRan.load();
        },
        [&](bool sawSecond) { firstDone = sawSecond; });
    DispatchQueue::create("second")->async([&] { secondRan = true; });
    t.settle();
    EXPECT_TRUE(firstDone);
}

TEST(Timer, RepeatsOnTheIntervalUntilInvalidated) {
    TestEnvironment t;
    int ticks = 0;
    auto timer = Timer::scheduledTimer(10s, true, [&](Timer& self) {
        if (++ticks == 3) self.invalidate();
    });
    t.loop().runFor(25s);
    EXPECT_EQ(ticks, 2);
    t.loop().runFor(100s);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer->isValid());
}

TEST(Timer, OneShotFiresOnceAndAReleasedTimerNever) {
    TestEnvironment t;
    int once = 0, released = 0;
    auto timer = Timer::scheduledTimer(1s, false, [&](Timer&) { ++once; });
    Timer::scheduledTimer(1s, true, [&](Timer&) { ++released; });  // nobody keeps it
    t.loop().runFor(10s);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(released, 0);
    EXPECT_FALSE(timer->isValid());
}

TEST(MainQueue, RunUntilStopsWhenTheConditionHolds) {
    TestEnvironment t;
    int count = 0;
    auto timer = Timer::scheduledTimer(1s, true, [&](Timer&) { ++count; });
    EXPECT_TRUE(t.loop().runUntil([&] { return count == 5; }, 60s));
    EXPECT_EQ(count, 5);
    EXPECT_FALSE(t.loop().runUntil([] { return false; }, 3s));
}

TEST(MainQueue, RealClockRunStopsFromATask) {
    kelpa::platform::HeadlessMainQueue queue;  // real clock
    bool fired = false;
    queue.postAfter(20ms, [&] {
        fired = true;
        queue.stop();
    });
    queue.run();
    EXPECT_TRUE(fired);
}
