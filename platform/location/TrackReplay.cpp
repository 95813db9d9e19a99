#include "platform/location/TrackReplay.h"

#include <cmath>

namespace kelpa::platform {

std::vector<ReplayStep> TrackReplay::schedule(const std::vector<TrackFix>& fixes, double speed,
                                              std::chrono::nanoseconds untimedInterval) {
    using namespace std::chrono;
    if (!(speed > 0) || !std::isfinite(speed)) speed = 1.0;
    std::vector<ReplayStep> steps;
    steps.reserve(fixes.size());
    // Recorded time is summed unscaled and scaled per step, so rounding does not accumulate.
    nanoseconds recorded{0};
    for (size_t i = 0; i < fixes.size(); ++i) {
        if (i > 0) {
            const auto& before = fixes[i - 1].time;
            const auto& now = fixes[i].time;
            if (before && now) {
                if (*now > *before) recorded += duration_cast<nanoseconds>(*now - *before);
            } else {
                recorded += untimedInterval;
            }
        }
        // A tiny factor must not overflow the delay; it saturates at the longest one.
        double scaled = std::round(static_cast<double>(recorded.count()) / speed);
        auto delay = scaled >= static_cast<double>(nanoseconds::max().count())
                         ? nanoseconds::max()
                         : nanoseconds(static_cast<nanoseconds::rep>(scaled));
        steps.push_back(ReplayStep{delay, fixes[i]});
    }
    return steps;
}

}  // namespace kelpa::platform
