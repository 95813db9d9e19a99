#include "platform/maps/UserLocation.h"

namespace kelpa::platform {

LocationCoordinate2D UserLocation::coordinate() const {
    return location_ ? location_->coordinate : LocationCoordinate2D{};
}

void UserLocation::setLocation(const Location& location) {
    if (location_ == location) return;
    location_ = location;
    changed();
}

}  // namespace kelpa::platform
