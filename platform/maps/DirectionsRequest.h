#pragma once

#include "platform/maps/DirectionsTransportType.h"
#include "platform/maps/MapItem.h"

#include <memory>

namespace kelpa::platform {

// What a route is asked for: from where, to where, how, and whether alternatives are wanted.
struct DirectionsRequest {
    std::shared_ptr<MapItem> source;
    std::shared_ptr<MapItem> destination;
    bool requestsAlternateRoutes = true;
    unsigned transportType = any;

    void setSource(std::shared_ptr<MapItem> item) { source = std::move(item); }
    void setDestination(std::shared_ptr<MapItem> item) { destination = std::move(item); }
    void setRequestsAlternateRoutes(bool requests) { requestsAlternateRoutes = requests; }
    void setTransportType(unsigned type) { transportType = type; }
};

}  // namespace kelpa::platform
