#pragma once

#include "platform/location/Location.h"
#include "platform/maps/Annotation.h"

#include <optional>

namespace kelpa::platform {

// The device's own marker on a map view; the map moves it with each fix it is given.
class UserLocation : public Annotation {
public:
    static constexpr const char* kTitle = "Current Location";

    LocationCoordinate2D coordinate() const override;
    std::optional<std::string> title() const override { return std::string(kTitle); }

    // The fix the marker stands at; none before the first.
    const std::optional<Location>& location() const { return location_; }
    void setLocation(const Location& location);

private:
    std::optional<Location> location_;
};

}  // namespace kelpa::platform
