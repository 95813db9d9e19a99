#include "client/groups/AddStartEndViewController.h"

#include "client/groups/AddWaypointsFromAdressViewController.h"
#include "client/model/Group.h"
#include "platform/ui/Label.h"
#include "platform/ui/StoryboardSegue.h"

#include <chrono>

namespace kelpa {

namespace ui = platform::ui;

namespace {
std::shared_ptr<ui::DatePicker> addPicker(ui::View& parent, const std::string& name, const std::string& caption) {
    auto label = std::make_shared<ui::Label>(name + "Label");
    label->setText(caption);
    parent.addSubview(label);
    auto picker = std::make_shared<ui::DatePicker>(name);
    picker->setAccessibilityLabel(caption);
    picker->setDatePickerMode(ui::DatePicker::Mode::dateAndTime);
    parent.addSubview(picker);
    return picker;
}
}  // namespace

void AddStartEndViewController::loadView() {
    ViewController::loadView();
    setTitle("Start and end");
    auto& root = *view();
    start = addPicker(root, "start", "Start");
    end = addPicker(root, "end", "End");
    // A window of one day from now, to begin with.
    end->setDate(start->date() + std::chrono::hours(24));
    next = std::make_shared<ui::Button>("next");
    next->setTitle("Next");
    connectSegue(next, kWaypointsSegue);
    root.addSubview(next);
}

void AddStartEndViewController::prepareForSegue(ui::StoryboardSegue& segue, ui::View*) {
    if (group) {
        group->startTime = start->date();
        group->endTime = end->date();
    }
    if (segue.identifier() != kWaypointsSegue) return;
    if (auto destination =
            std::dynamic_pointer_cast<AddWaypointsFromAdressViewController>(segue.destinationViewController())) {
        destination->users = users;
        destination->group = group;
    }
}

}  // namespace kelpa
