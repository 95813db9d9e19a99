#include "client/groups/AddDetailsToGroupViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/groups/AddContactsToGroupViewController.h"
#include "client/model/Group.h"
#include "platform/Log.h"
#include "platform/ui/Label.h"
#include "platform/ui/StoryboardSegue.h"

namespace kelpa {

namespace ui = platform::ui;

void AddDetailsToGroupViewController::loadView() {
    ViewController::loadView();
    setTitle("New plan");
    auto& root = *view();
    groupTitle = ScreenSupport::addField(root, "groupTitle", "Description");
    auto typeLabel = std::make_shared<ui::Label>("typeLabel");
    typeLabel->setText("Travel mode");
    root.addSubview(typeLabel);
    type = std::make_shared<ui::PickerView>("type");
    type->setAccessibilityLabel("Travel mode");
    root.addSubview(type);
    bluetooth = std::make_shared<ui::Button>("bluetooth", ui::Button::Type::checkBox);
    bluetooth->setAccessibilityLabel("Also invite users nearby (Bluetooth)");
    bluetooth->addTarget(ui::Control::Event::primaryAction,
                         [this](ui::Control& sender) { bluetoothClicked(static_cast<ui::Button&>(sender)); });
    root.addSubview(bluetooth);
    next = std::make_shared<ui::Button>("next");
    next->setTitle("Next");
    connectSegue(next, kMembersSegue);
    root.addSubview(next);
}

void AddDetailsToGroupViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    pickerData = {"car", "bike", "pedestrian"};
    group = std::make_shared<Group>();
    type->setDataSource(weakAs<ui::PickerViewDataSource>());
    type->setDelegate(weakAs<ui::PickerViewDelegate>());
    type->reloadAllComponents();
}

void AddDetailsToGroupViewController::touchesBegan() { view()->endEditing(true); }

int AddDetailsToGroupViewController::numberOfComponentsInPickerView(ui::PickerView&) { return 1; }

int AddDetailsToGroupViewController::numberOfRowsInComponent(ui::PickerView&, int) {
    return static_cast<int>(pickerData.size());
}

std::string AddDetailsToGroupViewController::titleForRow(ui::PickerView&, int row, int) {
    if (row < 0 || row >= static_cast<int>(pickerData.size())) return "";
    return pickerData[static_cast<std::size_t>(row)];
}

void AddDetailsToGroupViewController::didSelectRow(ui::PickerView&, int row, int) {
    switch (row) {
        case 0: group->GroupType = 1; break;
        case 1: group->GroupType = 2; break;
        case 2: group->GroupType = 3; break;
        default: break;
    }
}

void AddDetailsToGroupViewController::bluetoothClicked(ui::Button& sender) {
    const std::string& title = sender.titleForState();
    if (title.empty()) {
        sender.setTitle(kChecked);
    } else if (title == kChecked) {
        sender.setTitle("");
    }
}

bool AddDetailsToGroupViewController::shouldPerformSegueWithIdentifier(const std::string& identifier, ui::View*) {
    if (identifier != kMembersSegue) return true;
    // An untouched picker shows its first row, car.
    if (group->GroupType == 0) group->GroupType = 1;
    if (!groupTitle->text().empty()) return true;
    ScreenSupport::presentOK(*this, "Title!", ":(", [] { platform::log("ok"); });
    return false;
}

void AddDetailsToGroupViewController::prepareForSegue(ui::StoryboardSegue& segue, ui::View*) {
    if (segue.identifier() != kMembersSegue) return;
    // Also here for a segue that code performs, which is not asked first.
    if (group->GroupType == 0) group->GroupType = 1;
    group->jDescription = groupTitle->text();
    if (auto destination = std::dynamic_pointer_cast<AddContactsToGroupViewController>(segue.destinationViewController())) {
        destination->group = group;
        destination->bluetoothSearch = bluetooth->titleForState() == kChecked;
    }
}

}  // namespace kelpa
