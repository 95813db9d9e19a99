#pragma once

#include "platform/Task.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelpa::platform {

// Threads for background queues. A new thread starts whenever every thread is busy, since
// background calls block on the network and must not wait for each other.
class WorkerPool {
public:
    WorkerPool();
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void submit(Task task);

private:
    // Shared with the threads, so a thread that outlives the pool (the pool may be released
    // by a task running on it) still has valid state to leave through.
    struct State {
        std::mutex mutex;
        std::condition_variable available;
        std::deque<Task> tasks;
        int idle = 0;
        bool stopping = false;
    };
    static void work(const std::shared_ptr<State>& state);

    std::shared_ptr<State> state_;
    std::vector<std::thread> threads_;  // guarded by state_->mutex
};

}  // namespace kelpa::platform
