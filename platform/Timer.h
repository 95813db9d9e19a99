#pragma once

#include "platform/MainQueue.h"

#include <chrono>
#include <functional>
#include <memory>

namespace kelpa::platform {

// A one-shot or repeating timer on the main queue, following the queue's clock.
// The callback runs on the main queue; invalidate() stops it for good.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Callback = std::function<void(Timer&)>;

    static std::shared_ptr<Timer> scheduledTimer(std::chrono::nanoseconds interval, bool repeats,
                                                 Callback callback);
    ~Timer();

    void invalidate();
    bool isValid() const { return valid_; }
    std::chrono::nanoseconds interval() const { return interval_; }

    Timer(std::shared_ptr<MainQueue> queue, std::chrono::nanoseconds interval, bool repeats,
          Callback callback);

private:
    void arm();
    void fire();

    const std::shared_ptr<MainQueue> queue_;
    const std::chrono::nanoseconds interval_;
    const bool repeats_;
    Callback callback_;
    MainQueue::TimerId pending_ = 0;
    bool valid_ = true;
};

}  // namespace kelpa::platform
