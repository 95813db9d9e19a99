#pragma once

#include <optional>
#include <string_view>

namespace kelpa::platform {

// Checks shared by the track parsers.
class TrackValues {
public:
    // A plain decimal number, surrounding blanks allowed; nothing for anything else,
    // including "nan", "inf" and trailing garbage.
    static std::optional<double> number(std::string_view text);
    static bool isLatitude(double degrees) { return degrees >= -90.0 && degrees <= 90.0; }
    static bool isLongitude(double degrees) { return degrees >= -180.0 && degrees <= 180.0; }
    static std::string_view trimmed(std::string_view text);
};

}  // namespace kelpa::platform
