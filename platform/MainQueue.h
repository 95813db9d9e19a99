#pragma once

#include "platform/Task.h"

#include <chrono>
#include <cstdint>

namespace kelpa::platform {

// The one thread that runs screens, timers, device callbacks and every completion handler.
// Background work hands its results here; nothing else touches shared records.
class MainQueue {
public:
    using TimerId = std::uint64_t;
    using Clock = std::chrono::system_clock;

    virtual ~MainQueue() = default;

    // Runs the task on the main thread, after the tasks posted before it. Any thread.
    virtual void post(Task task) = 0;
    // Runs the task once the delay has passed on this queue's clock. Any thread.
    virtual TimerId postAfter(std::chrono::nanoseconds delay, Task task) = 0;
    // Drops a pending delayed task; nothing happens when it already ran.
    virtual void cancel(TimerId id) = 0;
    // Wall-clock time as this queue sees it (a virtual clock in tests).
    virtual Clock::time_point now() const = 0;
    virtual bool isMainThread() const = 0;

    // Background queues announce work in flight, so a headless loop can wait for its results
    // before it moves a virtual clock on.
    virtual void retainWork() {}
    virtual void releaseWork() {}
};

}  // namespace kelpa::platform
