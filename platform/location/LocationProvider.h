#pragma once

#include "platform/location/Location.h"
#include "platform/location/LocationAuthorization.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kelpa::platform {

// Where fixes come from: a device backend, a replayed track, a test's hand. Everything runs
// on the main queue: subscribing, and the callbacks, which never run inside subscribe().
class LocationProvider {
public:
    using SubscriptionId = std::uint64_t;
    using FixCallback = std::function<void(const Location& fix)>;
    using ErrorCallback = std::function<void(const std::string& error)>;

    virtual ~LocationProvider() = default;

    // Starts fixes for one listener. The desired accuracy is a hint (metres, or one of the
    // negative "best" constants); a source that cannot honour it delivers what it has.
    virtual SubscriptionId subscribe(double desiredAccuracy, FixCallback onFix, ErrorCallback onError) = 0;
    // Stops a listener; its callbacks are not called afterwards. Unknown ids are ignored.
    virtual void unsubscribe(SubscriptionId id) = 0;
    // The most recent fix of the source, whoever it went to.
    virtual std::optional<Location> lastKnownLocation() const = 0;
    // The app asks for permission. The portable sources need none and grant it silently.
    virtual void requestAuthorization(LocationAuthorization) {}
};

}  // namespace kelpa::platform
