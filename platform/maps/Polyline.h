#pragma once

#include "platform/location/LocationCoordinate2D.h"
#include "platform/maps/Overlay.h"

#include <memory>
#include <vector>

namespace kelpa::platform {

// A line through coordinates, in order.
class Polyline : public Overlay {
public:
    static std::shared_ptr<Polyline> polylineWithCoordinates(std::vector<LocationCoordinate2D> coordinates);

    explicit Polyline(std::vector<LocationCoordinate2D> coordinates);

    const std::vector<LocationCoordinate2D>& coordinates() const { return coordinates_; }
    size_t pointCount() const { return coordinates_.size(); }

private:
    std::vector<LocationCoordinate2D> coordinates_;
};

}  // namespace kelpa::platform
