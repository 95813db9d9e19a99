#include "platform/maps/Polyline.h"

namespace kelpa::platform {

std::shared_ptr<Polyline> Polyline::polylineWithCoordinates(std::vector<LocationCoordinate2D> coordinates) {
    return std::make_shared<Polyline>(std::move(coordinates));
}

Polyline::Polyline(std::vector<LocationCoordinate2D> coordinates) : coordinates_(std::move(coordinates)) {}

}  // namespace kelpa::platform
