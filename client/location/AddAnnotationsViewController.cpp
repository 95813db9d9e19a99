#include "client/location/AddAnnotationsViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/location/PinsRegion.h"
#include "client/model/Group.h"
#include "client/model/Waypoint.h"
#include "platform/maps/PointAnnotation.h"

#include <fmt/format.h>

namespace kelpa {

namespace ui = platform::ui;

void AddAnnotationsViewController::loadView() {
    ViewController::loadView();
    setTitle("Create group");
    map = std::make_shared<platform::MapView>("map");
    map->setAccessibilityLabel("Waypoints map");
    view()->addSubview(map);
    createButton = std::make_shared<ui::Button>("create");
    createButton->setTitle("Create");
    createButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control& sender) { next(&sender); });
    view()->addSubview(createButton);
}

void AddAnnotationsViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    waypoints.clear();
    for (std::size_t i = 0; i < placemarks.size(); ++i) {
        const auto coordinate = placemarks[i].coordinate;
        map->addAnnotation(std::make_shared<platform::PointAnnotation>(coordinate, fmt::format("{}", i)));
        auto waypoint = std::make_shared<Waypoint>();
        waypoint->number = static_cast<double>(i);
        waypoint->lati = coordinate.latitude;
        waypoint->longi = coordinate.longitude;
        waypoints.push_back(std::move(waypoint));
    }
    std::vector<platform::LocationCoordinate2D> coordinates;
    for (const auto& place : placemarks) coordinates.push_back(place.coordinate);
    if (auto region = PinsRegion::around(coordinates)) map->setRegion(*region, false);
}

void AddAnnotationsViewController::next(ui::View*) {
    Group::newGroup(group, users, waypoints, [weak = weakAs<AddAnnotationsViewController>()](std::int32_t code, Info wordOne, Info wordTwo, Info) {
        ScreenSupport::presentGroupCreated(weak.lock(), code, wordOne, wordTwo);
    });
}

}  // namespace kelpa
