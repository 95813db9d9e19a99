#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa::server {

// Clients send and read times as local wall-clock texts without a zone, so the service keeps
// every time as "civil seconds": the wall-clock reading in the server's time zone counted as
// if it were UTC. Comparisons and formatting then never need a zone.
class WallClock {
public:
    static std::int64_t now();
    static std::string format(std::int64_t civilSeconds);
    // Accepts exactly yyyy-MM-ddTHH:mm:ss with a valid calendar date.
    static std::optional<std::int64_t> parse(std::string_view text);
};

}  // namespace kelpa::server
