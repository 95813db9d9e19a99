#pragma once

#include "client/bluetooth/MasterViewController.h"
#include "platform/maps/MapView.h"

#include <memory>

namespace kelpa {

class Group;

// A group's stored waypoints as pins titled by their numbers, read-only.
class WaypointsMapViewController : public MasterViewController {
public:
    const char* className() const override { return "WaypointsMapViewController"; }

    void loadView() override;
    void viewDidLoad() override;

    std::shared_ptr<Group> group;
    std::shared_ptr<platform::MapView> mapView;
};

}  // namespace kelpa
