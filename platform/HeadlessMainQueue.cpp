#include "platform/HeadlessMainQueue.h"

namespace kelpa::platform {

namespace {
// A background call that never answers must not hang a test forever.
constexpr auto kMaxWaitForBackground = std::chrono::seconds(90);
}

HeadlessMainQueue::HeadlessMainQueue(ClockMode mode, Clock::time_point virtualStart)
    : mode_(mode),
      wallStart_(mode == ClockMode::Virtual ? virtualStart : Clock::now()),
      steadyStart_(std::chrono::steady_clock::now()),
      mainThread_(std::this_thread::get_id()) {}

HeadlessMainQueue::Ticks HeadlessMainQueue::ticks() const {
    if (mode_ == ClockMode::Virtual) return virtualTicks_;
    return std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now() - steadyStart_);
}

void HeadlessMainQueue::post(Task task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    changed_.notify_all();
}

MainQueue::TimerId HeadlessMainQueue::postAfter(std::chrono::nanoseconds delay, Task task) {
    TimerId id;
    {
        std::lock_guard lock(mutex_);
        id = nextTimer_++;
        const Ticks due = ticks() + std::max(delay, Ticks{0});
        timers_.emplace(std::make_pair(due, id), std::move(task));
        timerDue_.emplace(id, due);
    }
    changed_.notify_all();
    return id;
}

void HeadlessMainQueue::cancel(TimerId id) {
    std::lock_guard lock(mutex_);
    auto it = timerDue_.find(id);
    if (it == timerDue_.end()) return;
    timers_.erase({it->second, id});
    timerDue_.erase(it);
}

MainQueue::Clock::time_point HeadlessMainQueue::now() const {
    std::lock_guard lock(mutex_);
    return wallStart_ + std::chrono::duration_cast<Clock::duration>(ticks());
}

bool HeadlessMainQueue::isMainThread() const {
    return std::this_thread::get_id() == mainThread_.load();
}

void HeadlessMainQueue::retainWork() {
    std::lock_guard lock(mutex_);
    ++workInFlight_;
}

void HeadlessMainQueue::releaseWork() {
    {
        std::lock_guard lock(mutex_);
        --workInFlight_;
    }
    changed_.notify_all();
}

// Runs one posted task, or one timer due by `limit`; returns false when neither is ready.
bool HeadlessMainQueue::runOne(std::unique_lock<std::mutex>& lock, Ticks limit) {
    Task task;
    if (!tasks_.empty()) {
        task = std::move(tasks_.front());
        tasks_.pop_front();
    } else if (!timers_.empty() && timers_.begin()->first.first <= limit &&
               (mode_ == ClockMode::Real || workInFlight_ == 0)) {
        // On the virtual clock, results of work in flight arrive before time moves on.
        auto it = timers_.begin();
        if (mode_ == ClockMode::Virtual && it->first.first > virtualTicks_) {
            virtualTicks_ = it->first.first;
        }
        if (it->first.first > ticks()) return false;  // real clock: not due yet
        task = std::move(it->second);
        timerDue_.erase(it->first.second);
        timers_.erase(it);
    } else {
        return false;
    }
    lock.unlock();
    task();
    lock.lock();
    return true;
}

void HeadlessMainQueue::drive(Ticks span, const std::function<bool()>* condition, bool fireTimers) {
    mainThread_ = std::this_thread::get_id();
    std::unique_lock lock(mutex_);
    stopped_ = false;
    const bool forever = span == Ticks::max();
    const Ticks end = forever ? Ticks::max() : ticks() + span;
    const Ticks timerLimit = fireTimers ? end : Ticks::min();
    auto satisfied = [&] {
        if (!condition) return false;
        lock.unlock();
        const bool done = (*condition)();
        lock.lock();
        return done;
    };
    while (!stopped_) {
        if (satisfied()) return;
        if (runOne(lock, timerLimit)) continue;
        if (mode_ == ClockMode::Virtual) {
            if (workInFlight_ > 0) {
                changed_.wait_for(lock, kMaxWaitForBackground,
                                  [&] { return !tasks_.empty() || workInFlight_ == 0 || stopped_; });
                if (tasks_.empty() && workInFlight_ > 0) break;  // gave up waiting
                continue;
            }
            break;  // idle and no timer due within the span
        }
        // Real clock: sleep until a task arrives, the next timer is due or the span ends.
        if (!fireTimers && workInFlight_ == 0) break;
        Ticks wake = end;
        if (fireTimers && !timers_.empty()) wake = std::min(wake, timers_.begin()->first.first);
        if (ticks() >= end) break;
        const auto wait = forever && wake == Ticks::max() ? std::chrono::hours(1) : wake - ticks();
        changed_.wait_for(lock, wait);
    }
    if (mode_ == ClockMode::Virtual && !forever && !stopped_ && fireTimers && !condition) {
        virtualTicks_ = std::max(virtualTicks_, end);
    }
}

void HeadlessMainQueue::run() {
    while (true) {
        drive(Ticks::max(), nullptr, true);
        std::lock_guard lock(mutex_);
        if (stopped_) return;
        if (mode_ == ClockMode::Virtual && tasks_.empty() && timers_.empty() && workInFlight_ == 0) return;
    }
}

void HeadlessMainQueue::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

void HeadlessMainQueue::runUntilIdle() { drive(Ticks::max(), nullptr, false); }

void HeadlessMainQueue::runFor(std::chrono::nanoseconds span) { drive(span, nullptr, true); }

bool HeadlessMainQueue::runUntil(const std::function<bool()>& condition, std::chrono::nanoseconds span) {
    drive(span, &condition, true);
    return condition();
}

}  // namespace kelpa::platform
