#pragma once

#include "platform/location/Placemark.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace kelpa {

class Group;
class User;

// The fourth step of planning a group: its waypoints, typed as addresses and placed by the
// geocoder, in the order the places come back.
class AddWaypointsFromAdressViewController : public platform::ui::ViewController,
                                             public platform::ui::TableViewDataSource {
public:
    static constexpr const char* kMapSegue = "fromAddWaypointsToMap";

    const char* className() const override { return "AddWaypointsFromAdressViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void touchesBegan() override;
    void prepareForSegue(platform::ui::StoryboardSegue& segue, platform::ui::View* sender) override;

    void enterAdress();

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(platform::ui::TableView& tableView,
                                                                       const platform::ui::IndexPath& indexPath) override;

    std::vector<std::shared_ptr<User>> users;
    std::shared_ptr<Group> group;
    std::vector<platform::Placemark> waypoints;

    std::shared_ptr<platform::ui::TextField> adress;
    std::shared_ptr<platform::ui::Button> addButton;
    std::shared_ptr<platform::ui::TableView> waypointsTableView;
    std::shared_ptr<platform::ui::Button> next;
};

}  // namespace kelpa
