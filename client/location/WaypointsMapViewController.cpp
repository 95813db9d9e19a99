#include "client/location/WaypointsMapViewController.h"

#include "client/location/PinsRegion.h"
#include "client/model/Group.h"
#include "client/model/Waypoint.h"
#include "platform/maps/PointAnnotation.h"

#include <fmt/format.h>

#include <cmath>

namespace kelpa {

namespace {
// Pins sit where the single-precision coordinates put them. Kept out of line: g++ 12's SLP
// vectorizer drops the rounding when two such conversions feed one coordinate.
[[gnu::noinline]] double narrowed(double value) { return static_cast<float>(value); }

// A number as its decimal text: whole numbers without a fraction.
std::string numberText(const std::optional<double>& number) {
    if (!number) return "(null)";
    if (std::isfinite(*number) && std::trunc(*number) == *number && std::fabs(*number) < 1e15) {
        return fmt::format("{}", static_cast<long long>(*number));
    }
    return fmt::format("{}", *number);
}
}  // namespace

void WaypointsMapViewController::loadView() {
    MasterViewController::loadView();
    setTitle("Waypoints");
    mapView = std::make_shared<platform::MapView>("mapView");
    mapView->setAccessibilityLabel("Waypoints map");
    view()->addSubview(mapView);
}

void WaypointsMapViewController::viewDidLoad() {
    MasterViewController::viewDidLoad();
    if (!group || !group->waypoints) return;
    std::vector<platform::LocationCoordinate2D> coordinates;
    for (const auto& waypoint : *group->waypoints) {
        if (!waypoint) continue;
        const platform::LocationCoordinate2D coordinate{narrowed(waypoint->lati.value_or(0)),
                                                        narrowed(waypoint->longi.value_or(0))};
        mapView->addAnnotation(std::make_shared<platform::PointAnnotation>(coordinate, numberText(waypoint->number)));
        coordinates.push_back(coordinate);
    }
    if (auto region = PinsRegion::around(coordinates)) mapView->setRegion(*region, false);
}

}  // namespace kelpa
