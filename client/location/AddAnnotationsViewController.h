#pragma once

#include "platform/location/Placemark.h"
#include "platform/maps/MapView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace kelpa {

class Group;
class User;
class Waypoint;

// The last step of planning a group: the places entered before as numbered pins, turned into
// the group's waypoints; on the creator's command the group is created with its invitations
// and waypoints, and its two secret words are shown once.
class AddAnnotationsViewController : public platform::ui::ViewController {
public:
    const char* className() const override { return "AddAnnotationsViewController"; }

    void loadView() override;
    void viewDidLoad() override;

    void next(platform::ui::View* sender);

    std::vector<platform::Placemark> placemarks;
    std::vector<std::shared_ptr<User>> users;
    std::shared_ptr<Group> group;
    std::vector<std::shared_ptr<Waypoint>> waypoints;

    std::shared_ptr<platform::MapView> map;
    std::shared_ptr<platform::ui::Button> createButton;
};

}  // namespace kelpa
