#pragma once

#include "platform/location/Location.h"

#include <optional>
#include <string>

namespace kelpa::platform {

class LocationManager;

// Told of a location manager's fixes and failures, on the main queue.
class LocationManagerDelegate {
public:
    virtual ~LocationManagerDelegate() = default;
    // `fromLocation` is the fix delivered before this one, none for the first.
    virtual void didUpdateToLocation(LocationManager& manager, const Location& newLocation,
                                     const std::optional<Location>& fromLocation) = 0;
    virtual void didFailWithError(LocationManager& manager, const std::string& error) = 0;
};

}  // namespace kelpa::platform
