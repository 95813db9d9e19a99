#pragma once

#include "platform/location/LocationProvider.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// A location source driven by hand, for tests: each fix or failure goes to every listener
// at once, on the caller's (the main) thread.
class ManualLocationProvider : public LocationProvider {
public:
    SubscriptionId subscribe(double desiredAccuracy, FixCallback onFix, ErrorCallback onError) override;
    void unsubscribe(SubscriptionId id) override;
    std::optional<Location> lastKnownLocation() const override { return lastKnown_; }
    void requestAuthorization(LocationAuthorization authorization) override;

    // The fix becomes the last known one, listeners or not.
    void deliver(const Location& fix);
    void fail(const std::string& error);
    void setLastKnownLocation(std::optional<Location> fix) { lastKnown_ = std::move(fix); }

    size_t subscriberCount() const { return listeners_.size(); }
    // The desired accuracy of every subscription made, in order.
    const std::vector<double>& subscribedAccuracies() const { return accuracies_; }
    const std::vector<LocationAuthorization>& authorizationRequests() const { return authorizations_; }

private:
    struct Listener {
        FixCallback onFix;
        ErrorCallback onError;
    };
    std::map<SubscriptionId, Listener> listeners_;
    SubscriptionId next_ = 1;
    std::optional<Location> lastKnown_;
    std::vector<double> accuracies_;
    std::vector<LocationAuthorization> authorizations_;
};

}  // namespace kelpa::platform
