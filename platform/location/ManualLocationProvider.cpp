#include "platform/location/ManualLocationProvider.h"

namespace kelpa::platform {

LocationProvider::SubscriptionId ManualLocationProvider::subscribe(double desiredAccuracy, FixCallback onFix,
                                                                   ErrorCallback onError) {
    const auto id = next_++;
    listeners_.emplace(id, Listener{std::move(onFix), std::move(onError)});
    accuracies_.push_back(desiredAccuracy);
    return id;
}

void ManualLocationProvider::unsubscribe(SubscriptionId id) { listeners_.erase(id); }

void ManualLocationProvider::requestAuthorization(LocationAuthorization authorization) {
    authorizations_.push_back(authorization);
}

void ManualLocationProvider::deliver(const Location& fix) {
    lastKnown_ = fix;
    // A copy: listeners may come and go while being told.
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners) {
        if (listeners_.contains(id) && listener.onFix) listener.onFix(fix);
    }
}

void ManualLocationProvider::fail(const std::string& error) {
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners) {
        if (listeners_.contains(id) && listener.onError) listener.onError(error);
    }
}

}  // namespace kelpa::platform
