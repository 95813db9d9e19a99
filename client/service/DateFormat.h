#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa {

using Date = std::chrono::system_clock::time_point;

// Dates on the wire: "yyyy-MM-dd'T'HH:mm:ss" in the device's local time, no zone, no
// fractional seconds.
class DateFormat {
public:
    static std::optional<Date> parseWire(std::string_view text);
    static std::string formatWire(Date date);
    // The same instant one calendar year later (29 February becomes 28 February).
    static Date addOneYear(Date date);
};

}  // namespace kelpa
