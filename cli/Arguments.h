#pragma once

#include "cli/Coordinate.h"
#include "client/service/DateFormat.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa::cli {

// Reading the values that options carry. Each gives none for anything it does not accept,
// and the caller turns that into a usage error before any request is made.
class Arguments {
public:
    // "LAT,LON" in decimal degrees, within range.
    static std::optional<Coordinate> coordinate(std::string_view text);
    // "car", "bike" or "pedestrian" (any case) as the group's travel mode 1, 2 or 3.
    static std::optional<std::int32_t> travelMode(std::string_view text);
    static std::string travelModeName(std::int32_t mode);
    // "YYYY-MM-DDTHH:MM:SS" (or with a blank for the T) in local time, "now", or "+N" with
    // a unit s, m, h or d counted from now.
    static std::optional<Date> dateTime(std::string_view text, Date now);
    // A positive span: seconds, or a number with the unit s, m or h.
    static std::optional<std::chrono::nanoseconds> duration(std::string_view text);
    // A strict decimal number: no blanks, no trailing text, finite.
    static std::optional<double> number(std::string_view text);
};

}  // namespace kelpa::cli
