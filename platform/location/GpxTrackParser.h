#pragma once

#include "platform/location/TrackReadResult.h"

#include <chrono>
#include <optional>
#include <string_view>

namespace kelpa::platform {

// GPX 1.0 and 1.1: the points of the tracks (trk/trkseg/trkpt); a file without track points
// gives its routes' points (rte/rtept), and one with neither its waypoints (wpt), so a
// planned route replays as well as a recorded one.
class GpxTrackParser {
public:
    static TrackReadResult parse(std::string_view text);
    // An xsd:dateTime such as "2024-05-01T10:00:00.5+02:00"; without a zone it is UTC.
    static std::optional<std::chrono::system_clock::time_point> parseTime(std::string_view text);
};

}  // namespace kelpa::platform
