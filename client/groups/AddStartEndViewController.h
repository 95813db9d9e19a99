#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace kelpa {

class Group;
class User;

// The third step of planning a group: when its window opens and closes. The dates go into the
// group on every way out, so going back and forward again hands on what the pickers show.
class AddStartEndViewController : public platform::ui::ViewController {
public:
    static constexpr const char* kWaypointsSegue = "fromAddStartEndToWaypoints";

    const char* className() const override { return "AddStartEndViewController"; }

    void loadView() override;
    void prepareForSegue(platform::ui::StoryboardSegue& segue, platform::ui::View* sender) override;

    std::vector<std::shared_ptr<User>> users;
    std::shared_ptr<Group> group;

    std::shared_ptr<platform::ui::DatePicker> start;
    std::shared_ptr<platform::ui::DatePicker> end;
    std::shared_ptr<platform::ui::Button> next;
};

}  // namespace kelpa
