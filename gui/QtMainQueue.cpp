#include "gui/QtMainQueue.h"

#include <QThread>
#include <QTimer>

#include <algorithm>

namespace kelpa::platform {

QtMainQueue::QtMainQueue() : receiver_(new QObject), timers_(std::make_shared<Timers>()) {}

QtMainQueue::~QtMainQueue() {
    // Delayed tasks die with the queue, even when their timers still go off.
    std::unordered_map<TimerId, Task> dropped;
    {
        std::lock_guard lock(timers_->mutex);
        dropped.swap(timers_->tasks);
    }
    // The last owner may be a background thread; the receiver belongs to the main thread.
    if (receiver_->thread() == QThread::currentThread()) delete receiver_;
    else receiver_->deleteLater();
}

void QtMainQueue::post(Task task) {
    QMetaObject::invokeMethod(
        receiver_, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

MainQueue::TimerId QtMainQueue::postAfter(std::chrono::nanoseconds delay, Task task) {
    const auto due = std::chrono::steady_clock::now() + std::max(delay, std::chrono::nanoseconds{0});
    TimerId id;
    {
        std::lock_guard lock(timers_->mutex);
        id = timers_->next++;
        timers_->tasks.emplace(id, std::move(task));
    }
    // A QTimer belongs to the thread that starts it, so it is started on the main thread.
    if (isMainThread()) {
        arm(receiver_, timers_, id, due);
    } else {
        QMetaObject::invokeMethod(
            receiver_, [receiver = receiver_, timers = timers_, id, due] { arm(receiver, timers, id, due); },
            Qt::QueuedConnection);
    }
    return id;
}

void QtMainQueue::arm(QObject* receiver, const std::shared_ptr<Timers>& timers, TimerId id,
                      std::chrono::steady_clock::time_point due) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
    QTimer::singleShot(std::max(left, std::chrono::milliseconds{0}), Qt::PreciseTimer, receiver,
                       [timers, id] { fire(timers, id); });
}

void QtMainQueue::fire(const std::shared_ptr<Timers>& timers, TimerId id) {
    Task task;
    {
        std::lock_guard lock(timers->mutex);
        auto it = timers->tasks.find(id);
        if (it == timers->tasks.end()) return;  // cancelled
        task = std::move(it->second);
        timers->tasks.erase(it);
    }
    task();
}

void QtMainQueue::cancel(TimerId id) {
    Task dropped;
    {
        std::lock_guard lock(timers_->mutex);
        auto it = timers_->tasks.find(id);
        if (it == timers_->tasks.end()) return;
        dropped = std::move(it->second);
        timers_->tasks.erase(it);
    }
    // `dropped` goes outside the lock: what it holds may cancel timers of its own.
}

std::size_t QtMainQueue::pendingTimers() const {
    std::lock_guard lock(timers_->mutex);
    return timers_->tasks.size();
}

MainQueue::Clock::time_point QtMainQueue::now() const { return Clock::now(); }

bool QtMainQueue::isMainThread() const { return receiver_->thread() == QThread::currentThread(); }

void QtMainQueue::retainWork() { ++workInFlight_; }

void QtMainQueue::releaseWork() { --workInFlight_; }

}  // namespace kelpa::platform
