#include "platform/WorkerPool.h"

namespace kelpa::platform {

WorkerPool::WorkerPool() : state_(std::make_shared<State>()) {}

WorkerPool::~WorkerPool() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        threads.swap(threads_);
    }
    state_->available.notify_all();
    for (auto& thread : threads) {
        if (thread.get_id() == std::this_thread::get_id()) {
            thread.detach();
        } else {
            thread.join();
        }
    }
}

void WorkerPool::submit(Task task) {
    std::lock_guard lock(state_->mutex);
    state_->tasks.push_back(std::move(task));
    if (state_->idle >= static_cast<int>(state_->tasks.size())) {
        state_->available.notify_one();
        return;
    }
    threads_.emplace_back([state = state_] { work(state); });
}

void WorkerPool::work(const std::shared_ptr<State>& state) {
    std::unique_lock lock(state->mutex);
    while (true) {
        ++state->idle;
        state->available.wait(lock, [&] { return state->stopping || !state->tasks.empty(); });
        --state->idle;
        if (state->tasks.empty()) return;  // stopping, nothing left
        Task task = std::move(state->tasks.front());
        state->tasks.pop_front();
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
    }
}

}  // namespace kelpa::platform
