#pragma once

#include "platform/location/Placemark.h"

#include <memory>

namespace kelpa::platform {

// An end of a route: a placemark, or wherever the device is when the route is calculated.
class MapItem {
public:
    static std::shared_ptr<MapItem> mapItemForCurrentLocation();
    static std::shared_ptr<MapItem> initWithPlacemark(Placemark placemark);

    MapItem(Placemark placemark, bool isCurrentLocation);

    bool isCurrentLocation() const { return isCurrentLocation_; }
    // Empty for the current location.
    const Placemark& placemark() const { return placemark_; }

private:
    Placemark placemark_;
    bool isCurrentLocation_;
};

}  // namespace kelpa::platform
