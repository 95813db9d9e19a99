#pragma once

#include "platform/maps/Route.h"

#include <vector>

namespace kelpa::platform {

// The routes found, the service's best first.
struct DirectionsResponse {
    std::vector<Route> routes;
};

}  // namespace kelpa::platform
