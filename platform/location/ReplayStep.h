#pragma once

#include "platform/location/TrackFix.h"

#include <chrono>

namespace kelpa::platform {

// A fix and when to deliver it, counted from the delivery of the first fix.
struct ReplayStep {
    std::chrono::nanoseconds delay{0};
    TrackFix fix;

    bool operator==(const ReplayStep&) const = default;
};

}  // namespace kelpa::platform
