#include "platform/location/Location.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelpa::platform {

namespace {
constexpr double kEarthRadius = 6371008.8;  // mean radius, metres
double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }
}  // namespace

double Location::distanceFromLocation(const Location& other) const {
    // Haversine: stays accurate for the few metres a distance filter compares.
    const double lat1 = radians(coordinate.latitude);
    const double lat2 = radians(other.coordinate.latitude);
    const double dLat = lat2 - lat1;
    const double dLon = radians(other.coordinate.longitude - coordinate.longitude);
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::sqrt(std::clamp(a, 0.0, 1.0)));
}

}  // namespace kelpa::platform
