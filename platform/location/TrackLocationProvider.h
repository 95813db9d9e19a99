#pragma once

#include "platform/MainQueue.h"
#include "platform/location/LocationProvider.h"
#include "platform/location/ReplayStep.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// A device that moves along a recorded GPX or NMEA track, on the main queue's clock (virtual
// in tests) and `speed` times as fast as recorded. The replay starts with the first listener
// and holds its place while nobody listens; a new listener gets the current fix at once. At
// the end of the track the device stays at the last fix, or starts over when `loop` is set.
// A track that cannot be read is logged and reported to every listener as an error.
class TrackLocationProvider : public LocationProvider,
                              public std::enable_shared_from_this<TrackLocationProvider> {
public:
    // Reads the track at once; call on the main queue.
    static std::shared_ptr<TrackLocationProvider> create(std::filesystem::path file, double speed = 1.0,
                                                         bool loop = false);

    TrackLocationProvider(std::shared_ptr<MainQueue> mainQueue, std::filesystem::path file, double speed,
                          bool loop);
    ~TrackLocationProvider() override;

    SubscriptionId subscribe(double desiredAccuracy, FixCallback onFix, ErrorCallback onError) override;
    void unsubscribe(SubscriptionId id) override;
    std::optional<Location> lastKnownLocation() const override { return current_; }

    // Why the track cannot be replayed; none when it can.
    const std::optional<std::string>& error() const { return error_; }

private:
    struct Listener {
        FixCallback onFix;
        ErrorCallback onError;
    };

    void resume();
    void pause();
    void scheduleNext();
    void step();
    // Runs `deliver` for one listener on the next turn of the main queue, if it still listens.
    void later(SubscriptionId id, std::function<void(Listener&)> deliver);

    const std::shared_ptr<MainQueue> mainQueue_;
    const bool loop_;
    std::chrono::nanoseconds lapGap_;
    std::vector<ReplayStep> steps_;
    std::optional<std::string> error_;

    std::map<SubscriptionId, Listener> listeners_;
    SubscriptionId next_ = 1;
    std::optional<Location> current_;
    size_t index_ = 0;  // the step delivered next
    bool started_ = false;
    // When step 0 of the current lap was due, moved on by every pause.
    MainQueue::Clock::time_point lapStart_;
    std::optional<MainQueue::Clock::time_point> pausedAt_;
    MainQueue::TimerId pending_ = 0;
};

}  // namespace kelpa::platform
