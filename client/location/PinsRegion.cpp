#include "client/location/PinsRegion.h"

#include <algorithm>

namespace kelpa {

namespace {
constexpr double kMargin = 1.4;      // the pins' extent and some room at the edges
constexpr double kNarrowest = 0.02;  // degrees: a few streets
}  // namespace

std::optional<platform::CoordinateRegion> PinsRegion::around(const std::vector<platform::LocationCoordinate2D>& pins) {
    if (pins.empty()) return std::nullopt;
    double south = pins.front().latitude, north = south;
    double west = pins.front().longitude, east = west;
    for (const auto& pin : pins) {
        south = std::min(south, pin.latitude);
        north = std::max(north, pin.latitude);
        west = std::min(west, pin.longitude);
        east = std::max(east, pin.longitude);
    }
    return platform::CoordinateRegion{{(south + north) / 2, (west + east) / 2},
                                      {std::clamp((north - south) * kMargin, kNarrowest, 180.0),
                                       std::clamp((east - west) * kMargin, kNarrowest, 360.0)}};
}

}  // namespace kelpa
