#pragma once

#include <chrono>
#include <optional>

namespace kelpa::platform {

// One recorded position of a GPS track: degrees (south and west negative), metres above
// sea level when recorded, and the UTC time when recorded.
struct TrackFix {
    double latitude = 0;
    double longitude = 0;
    std::optional<double> altitude;
    std::optional<std::chrono::system_clock::time_point> time;

    bool operator==(const TrackFix&) const = default;
};

}  // namespace kelpa::platform
