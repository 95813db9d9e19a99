#pragma once

#include "client/app/TabPlaceholderViewController.h"

#include <memory>
#include <string>

namespace kelpa {

class Group;

// Stands in for a screen about one group that is still to come (its members, its waypoint
// map): it takes the group handed over and names it under its title.
class GroupPlaceholderViewController : public TabPlaceholderViewController {
public:
    using TabPlaceholderViewController::TabPlaceholderViewController;
    const char* className() const override { return "GroupPlaceholderViewController"; }
    void loadView() override;
    void viewWillAppear(bool animated) override;

    std::shared_ptr<Group> group;
};

}  // namespace kelpa
