#include "platform/Timer.h"

#include "platform/Environment.h"

namespace kelpa::platform {

std::shared_ptr<Timer> Timer::scheduledTimer(std::chrono::nanoseconds interval, bool repeats,
                                             Callback callback) {
    auto timer = std::make_shared<Timer>(Environment::current()->mainQueue, interval, repeats,
                                         std::move(callback));
    timer->arm();
    return timer;
}

Timer::Timer(std::shared_ptr<MainQueue> queue, std::chrono::nanoseconds interval, bool repeats,
             Callback callback)
    : queue_(std::move(queue)), interval_(interval), repeats_(repeats), callback_(std::move(callback)) {}

Timer::~Timer() {
    if (pending_) queue_->cancel(pending_);
}

void Timer::arm() {
    // The queue holds only a weak reference: a timer nobody keeps stops firing.
    pending_ = queue_->postAfter(interval_, [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->fire();
    });
}

void Timer::fire() {
    pending_ = 0;
    if (!valid_) return;
    if (repeats_) arm();
    else valid_ = false;
    auto keepAlive = shared_from_this();
    callback_(*this);
}

void Timer::invalidate() {
    valid_ = false;
    if (pending_) {
        queue_->cancel(pending_);
        pending_ = 0;
    }
}

}  // namespace kelpa::platform
