#pragma once

#include "platform/MainQueue.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace kelpa::platform {

// The main queue on the Qt event loop of the thread that makes it. Tasks travel as queued
// invocations on a QObject of that thread, so they run in the order posted and any thread
// may post; delayed tasks wait in a table until their QTimer fires, so a cancel from any
// thread only has to take them out of it.
class QtMainQueue : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;
    QtMainQueue(const QtMainQueue&) = delete;
    QtMainQueue& operator=(const QtMainQueue&) = delete;

    void post(Task task) override;
    TimerId postAfter(std::chrono::nanoseconds delay, Task task) override;
    void cancel(TimerId id) override;
    Clock::time_point now() const override;
    bool isMainThread() const override;
    void retainWork() override;
    void releaseWork() override;

    // Background calls started and not yet handed back, so the end of the process can wait
    // for them.
    int workInFlight() const { return workInFlight_.load(); }
    // Delayed tasks still waiting.
    std::size_t pendingTimers() const;

private:
    // Shared with the queued invocations and timers, which may outlive the queue.
    struct Timers {
        std::mutex mutex;
        std::unordered_map<TimerId, Task> tasks;
        TimerId next = 1;
    };
    static void arm(QObject* receiver, const std::shared_ptr<Timers>& timers, TimerId id,
                    std::chrono::steady_clock::time_point due);
    static void fire(const std::shared_ptr<Timers>& timers, TimerId id);

    QObject* const receiver_;
    const std::shared_ptr<Timers> timers_;
    std::atomic<int> workInFlight_{0};
};

}  // namespace kelpa::platform
