#pragma once

#include "platform/location/LocationCoordinate2D.h"
#include "platform/maps/Route.h"

#include <string>
#include <variant>
#include <vector>

namespace kelpa::platform {

// Finds routes between two points. Blocks; runs on a background queue. `transportType` is a
// DirectionsTransportType bit set. Failures, and no route at all, are error texts.
class RoutingService {
public:
    virtual ~RoutingService();
    virtual std::variant<std::vector<Route>, std::string> route(LocationCoordinate2D from, LocationCoordinate2D to,
                                                                unsigned transportType, bool alternatives) = 0;
};

}  // namespace kelpa::platform
