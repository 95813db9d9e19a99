#include "platform/location/TrackLocationProvider.h"

#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/location/TrackReader.h"
#include "platform/location/TrackReplay.h"

#include <cmath>

namespace kelpa::platform {

namespace {
// The smallest pause between two laps, so that a track whose fixes all share one instant
// still lets time move on when it loops.
constexpr std::chrono::nanoseconds kMinimumLapGap = std::chrono::milliseconds(1);
// A crawling replay saturates its delays; capped, they still fit the clock's time points.
constexpr std::chrono::nanoseconds kLongestDelay = std::chrono::hours(24 * 365 * 10);
}  // namespace

std::shared_ptr<TrackLocationProvider> TrackLocationProvider::create(std::filesystem::path file, double speed,
                                                                     bool loop) {
    return std::make_shared<TrackLocationProvider>(Environment::current()->mainQueue, std::move(file), speed, loop);
}

TrackLocationProvider::TrackLocationProvider(std::shared_ptr<MainQueue> mainQueue, std::filesystem::path file,
                                             double speed, bool loop)
    : mainQueue_(std::move(mainQueue)), loop_(loop) {
    if (!(speed > 0) || !std::isfinite(speed)) speed = 1.0;
    const double gap = std::min(static_cast<double>(TrackReplay::defaultInterval.count()) / speed,
                                static_cast<double>(kLongestDelay.count()));
    lapGap_ = std::max(kMinimumLapGap, std::chrono::nanoseconds(static_cast<std::int64_t>(gap)));

    auto track = TrackReader::readFile(file);
    if (!track.ok()) {
        error_ = "cannot replay " + file.string() + ": " + *track.error;
        log("location: " + *error_);
        return;
    }
    steps_ = TrackReplay::schedule(track.fixes, speed);
    for (auto& step : steps_) step.delay = std::min(step.delay, kLongestDelay);
}

TrackLocationProvider::~TrackLocationProvider() {
    if (pending_) mainQueue_->cancel(pending_);
}

LocationProvider::SubscriptionId TrackLocationProvider::subscribe(double, FixCallback onFix, ErrorCallback onError) {
    const auto id = next_++;
    listeners_.emplace(id, Listener{std::move(onFix), std::move(onError)});
    if (error_) {
        later(id, [error = *error_](Listener& listener) {
            if (listener.onError) listener.onError(error);
        });
        return id;
    }
    if (current_) {
        later(id, [fix = *current_](Listener& listener) {
            if (listener.onFix) listener.onFix(fix);
        });
    }
    if (listeners_.size() == 1) resume();
    return id;
}

void TrackLocationProvider::unsubscribe(SubscriptionId id) {
    if (listeners_.erase(id) == 0) return;
    if (listeners_.empty() && !error_) pause();
}

void TrackLocationProvider::later(SubscriptionId id, std::function<void(Listener&)> deliver) {
    mainQueue_->post([weak = weak_from_this(), id, deliver = std::move(deliver)] {
        auto self = weak.lock();
        if (!self) return;
        auto it = self->listeners_.find(id);
        if (it == self->listeners_.end()) return;
        auto listener = it->second;
        deliver(listener);
    });
}

void TrackLocationProvider::resume() {
    const auto now = mainQueue_->now();
    if (!started_) {
        started_ = true;
        lapStart_ = now;
        index_ = 0;
    } else if (pausedAt_) {
        lapStart_ += now - *pausedAt_;
    }
    pausedAt_.reset();
    scheduleNext();
}

void TrackLocationProvider::pause() {
    if (pending_) mainQueue_->cancel(pending_);
    pending_ = 0;
    pausedAt_ = mainQueue_->now();
}

void TrackLocationProvider::scheduleNext() {
    if (steps_.empty()) return;
    if (index_ >= steps_.size()) {
        if (!loop_) return;  // the device stays where the track ends
        lapStart_ += std::chrono::duration_cast<MainQueue::Clock::duration>(steps_.back().delay + lapGap_);
        index_ = 0;
    }
    const auto due = lapStart_ + std::chrono::duration_cast<MainQueue::Clock::duration>(steps_[index_].delay);
    const auto delay = std::max(std::chrono::nanoseconds(0),
                                std::chrono::duration_cast<std::chrono::nanoseconds>(due - mainQueue_->now()));
    pending_ = mainQueue_->postAfter(delay, [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->step();
    });
}

void TrackLocationProvider::step() {
    pending_ = 0;
    const auto& recorded = steps_[index_].fix;
    Location fix;
    fix.coordinate = {recorded.latitude, recorded.longitude};
    fix.altitude = recorded.altitude.value_or(0);
    // Replayed fixes are measured now, not when the track was recorded.
    fix.timestamp = mainQueue_->now();
    current_ = fix;
    ++index_;
    scheduleNext();
    auto keep = shared_from_this();
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners) {
        if (listeners_.contains(id) && listener.onFix) listener.onFix(fix);
    }
}

}  // namespace kelpa::platform
