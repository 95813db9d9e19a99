#pragma once

#include "platform/location/ReplayStep.h"

#include <chrono>
#include <vector>

namespace kelpa::platform {

// Turns a track into a replay schedule for the main queue's timers. Consecutive fixes that
// both carry a time are as far apart as recorded; a gap without times on either side takes
// the default interval, and a time that runs backwards takes none. Everything is divided by
// the speed factor (2.0 replays twice as fast); a factor that is not a positive number counts
// as 1.0.
class TrackReplay {
public:
    static constexpr std::chrono::nanoseconds defaultInterval = std::chrono::seconds(1);

    static std::vector<ReplayStep> schedule(const std::vector<TrackFix>& fixes, double speed = 1.0,
                                            std::chrono::nanoseconds untimedInterval = defaultInterval);
};

}  // namespace kelpa::platform
