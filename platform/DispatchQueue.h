#pragma once

#include "platform/Task.h"

#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace kelpa::platform {

class Environment;
class MainQueue;
class WorkerPool;

// A serial background queue for one call, labelled with the operation's name.
class DispatchQueue : public std::enable_shared_from_this<DispatchQueue> {
public:
    static std::shared_ptr<DispatchQueue> create(std::string label);

    // Runs the task after the ones submitted before it, on a background thread.
    void async(Task task);
    const std::string& label() const { return label_; }

    DispatchQueue(std::string label, std::shared_ptr<Environment> environment);

private:
    void drain();

    const std::string label_;
    // The environment of the thread that made the queue: its tasks see it as current.
    std::shared_ptr<Environment> environment_;
    std::shared_ptr<WorkerPool> workers_;
    const std::shared_ptr<MainQueue> mainQueue_;
    std::mutex mutex_;
    std::deque<Task> tasks_;
    bool running_ = false;
};

}  // namespace kelpa::platform
