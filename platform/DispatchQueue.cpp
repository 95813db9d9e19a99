#include "platform/DispatchQueue.h"

#include "platform/Environment.h"
#include "platform/MainQueue.h"
#include "platform/WorkerPool.h"

namespace kelpa::platform {

std::shared_ptr<DispatchQueue> DispatchQueue::create(std::string label) {
    return std::make_shared<DispatchQueue>(std::move(label), Environment::current());
}

DispatchQueue::DispatchQueue(std::string label, std::shared_ptr<Environment> environment)
    : label_(std::move(label)),
      environment_(std::move(environment)),
      workers_(environment_->workers),
      mainQueue_(environment_->mainQueue) {}

void DispatchQueue::async(Task task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        if (running_) return;
        running_ = true;
    }
    // Announced before it is queued so a headless loop never sees a gap between the work and
    // the completion it posts.
    mainQueue_->retainWork();
    workers_->submit([self = shared_from_this()]() mutable {
        self->drain();
        // Let go of the queue, and with it the worker pool, before the headless loop can see
        // the work as finished: whoever then releases the environment must be the one to
        // destroy the pool and join its threads, never a worker that would be left detached.
        auto mainQueue = self->mainQueue_;
        self.reset();
        mainQueue->releaseWork();
    });
}

void DispatchQueue::drain() {
    Environment::Scope scope(environment_);
    while (true) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty()) {
                running_ = false;
                break;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

}  // namespace kelpa::platform
