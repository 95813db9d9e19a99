#include "client/groups/NewGroupMenuViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/Group.h"

namespace kelpa {

namespace ui = platform::ui;

namespace {
std::shared_ptr<ui::Button> addButton(ui::View& parent, const std::string& name, const std::string& title) {
    auto button = std::make_shared<ui::Button>(name);
    button->setTitle(title);
    parent.addSubview(button);
    return button;
}
}  // namespace

void NewGroupMenuViewController::loadView() {
    ViewController::loadView();
    setTitle("New group");
    auto& root = *view();
    adhocGroup = addButton(root, "adhocGroup", "Ad hoc group now");
    adhocGroup->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { newAdhocGroup(); });
    quickJoin = addButton(root, "quickJoin", "Join with two words");
    connectSegue(quickJoin, kQuickJoinSegue);
    plannedGroup = addButton(root, "plannedGroup", "Plan a group");
    connectSegue(plannedGroup, kPlannedSegue);
    scanGroups = addButton(root, "scanGroups", "Find a group nearby");
    connectSegue(scanGroups, kScanSegue);
    beFound = addButton(root, "beFound", "Be found nearby");
    connectSegue(beFound, kBeFoundSegue);
}

void NewGroupMenuViewController::newAdhocGroup() {
    Group::newAdhocGroup(std::make_shared<Group>(), [weak = weakAs<NewGroupMenuViewController>()](std::int32_t code, Info wordOne, Info wordTwo, Info) {
        ScreenSupport::presentGroupCreated(weak.lock(), code, wordOne, wordTwo);
    });
}

}  // namespace kelpa
