#pragma once

#include "platform/maps/Polyline.h"

#include <memory>

namespace kelpa::platform {

// One way from a source to a destination: its line, its length in metres and its expected
// travel time in seconds.
struct Route {
    std::shared_ptr<Polyline> polyline;
    double distance = 0;
    double expectedTravelTime = 0;
};

}  // namespace kelpa::platform
