#pragma once

#include <chrono>

namespace kelpa::platform {

// A UTC instant from calendar fields, for expected values.
inline std::chrono::system_clock::time_point utc(int y, unsigned mo, unsigned d, int h, int mi, int s,
                                                 std::chrono::milliseconds ms = {}) {
    using namespace std::chrono;
    return sys_days(year{y} / month{mo} / day{d}) + hours(h) + minutes(mi) + seconds(s) + ms;
}

}  // namespace kelpa::platform
