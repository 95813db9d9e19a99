#pragma once

#include "platform/MainQueue.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace kelpa::platform {

// A main queue without a UI toolkit: kelpactl and the tests drive it. On the virtual clock,
// time moves only when the driver says so, and timers fire instantly and in order.
class HeadlessMainQueue : public MainQueue {
public:
    enum class ClockMode { Real, Virtual };

    explicit HeadlessMainQueue(ClockMode mode = ClockMode::Real,
                               Clock::time_point virtualStart = Clock::time_point{});

    void post(Task task) override;
    TimerId postAfter(std::chrono::nanoseconds delay, Task task) override;
    void cancel(TimerId id) override;
    Clock::time_point now() const override;
    bool isMainThread() const override;
    void retainWork() override;
    void releaseWork() override;

    // Runs until stop() is called.
    void run();
    void stop();
    // Runs posted tasks and waits for background work in flight, firing no timer.
    void runUntilIdle();
    // Runs for the given time: on the virtual clock, waits for background work, then fires
    // each timer due within the span in order, moving the clock to it.
    void runFor(std::chrono::nanoseconds span);
    // Runs until the condition holds or the span has passed; returns the condition.
    bool runUntil(const std::function<bool()>& condition,
                  std::chrono::nanoseconds span = std::chrono::seconds(60));

    ClockMode mode() const { return mode_; }

private:
    using Ticks = std::chrono::nanoseconds;

    Ticks ticks() const;  // time since start on this queue's clock
    bool runOne(std::unique_lock<std::mutex>& lock, Ticks limit);
    void drive(Ticks span, const std::function<bool()>* condition, bool fireTimers);

    const ClockMode mode_;
    const Clock::time_point wallStart_;
    const std::chrono::steady_clock::time_point steadyStart_;
    std::atomic<std::thread::id> mainThread_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> tasks_;
    std::map<std::pair<Ticks, TimerId>, Task> timers_;
    std::unordered_map<TimerId, Ticks> timerDue_;
    TimerId nextTimer_ = 1;
    Ticks virtualTicks_{0};
    int workInFlight_ = 0;
    bool stopped_ = false;
};

}  // namespace kelpa::platform
