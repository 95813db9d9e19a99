#pragma once

#include "platform/location/LocationCoordinate2D.h"
#include "platform/maps/CoordinateRegion.h"

#include <optional>
#include <vector>

namespace kelpa {

// The part of the map that shows every one of some pins with a margin around them, so a
// waypoint map opens on its pins rather than on the whole world.
class PinsRegion {
public:
    // None without pins. One pin, or pins close together, get a street-level view.
    static std::optional<platform::CoordinateRegion> around(const std::vector<platform::LocationCoordinate2D>& pins);
};

}  // namespace kelpa
