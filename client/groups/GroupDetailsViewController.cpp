#include "client/groups/GroupDetailsViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/groups/GroupMembersTableViewController.h"
#include "client/location/WaypointsMapViewController.h"
#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "platform/Environment.h"
#include "platform/MainQueue.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/StoryboardSegue.h"

#include <fmt/format.h>

namespace kelpa {

namespace ui = platform::ui;

namespace {
std::shared_ptr<ui::Label> addLabel(ui::View& parent, const std::string& name, const std::string& accessible) {
    auto label = std::make_shared<ui::Label>(name);
    label->setAccessibilityLabel(accessible);
    parent.addSubview(label);
    return label;
}

std::string dayOf(const std::optional<Date>& date) { return date ? ScreenSupport::mediumDate(*date) : ""; }

bool sameGroup(const Group& one, const Group& other) { return one.groupID && other.groupID && *one.groupID == *other.groupID; }
}  // namespace

void GroupDetailsViewController::loadView() {
    MasterViewController::loadView();
    setTitle("Group");
    auto& root = *view();
    groupID = addLabel(root, "groupID", "Group ID");
    groupDescription = addLabel(root, "groupDescription", "Description");
    groupCreated = addLabel(root, "groupCreated", "Created");
    groupType = addLabel(root, "groupType", "Travel mode");
    groupStart = addLabel(root, "groupStart", "Start");
    groupEnd = addLabel(root, "groupEnd", "End");
    groupMembers = std::make_shared<ui::Button>("groupMembers");
    groupMembers->setAccessibilityLabel("Members");
    connectSegue(groupMembers, kMembersSegue);
    root.addSubview(groupMembers);
    groupWaypoints = std::make_shared<ui::Button>("groupWaypoints");
    groupWaypoints->setAccessibilityLabel("Waypoints");
    connectSegue(groupWaypoints, kWaypointsSegue);
    root.addSubview(groupWaypoints);
    joinSegment = std::make_shared<ui::SegmentedControl>("joinSegment", std::vector<std::string>{"Joined", "Not joined"});
    joinSegment->addTarget(ui::Control::Event::valueChanged, [this](ui::Control& sender) {
        joinSegmentChanged(static_cast<ui::SegmentedControl&>(sender));
    });
    root.addSubview(joinSegment);
    bluetoothView = std::make_shared<ui::View>("bluetoothView");
    bluetoothSegment = std::make_shared<ui::SegmentedControl>(
        "bluetoothSegment", std::vector<std::string>{"Found nearby", "Not found"});
    bluetoothSegment->addTarget(ui::Control::Event::valueChanged, [this](ui::Control& sender) {
        bluetoothSegmentChanged(static_cast<ui::SegmentedControl&>(sender));
    });
    bluetoothView->addSubview(bluetoothSegment);
    root.addSubview(bluetoothView);
}

void GroupDetailsViewController::viewWillAppear(bool animated) {
    MasterViewController::viewWillAppear(animated);
    setupDetails();
    setupJoinSegment();
    setupBluetoothView();
}

void GroupDetailsViewController::setupDetails() {
    if (!group) return;
    groupID->setText(group->groupID.value_or("(null)"));
    groupDescription->setText(group->jDescription.value_or("(null)"));
    groupCreated->setText(dayOf(group->created));
    groupStart->setText(dayOf(group->startTime));
    groupEnd->setText(dayOf(group->endTime));
    groupType->setText(group->getStringFromType());
    groupMembers->setTitle(fmt::format("{}", group->members ? group->members->size() : 0));
    groupWaypoints->setTitle(fmt::format("{}", group->waypoints ? group->waypoints->size() : 0));
}

void GroupDetailsViewController::setupJoinSegment() {
    if (!group) return;
    auto joined = Group::getJoinedGroup();
    if (joined) {
        if (sameGroup(*joined, *group)) {
            joinSegment->setSelectedSegmentIndex(0);
        } else {
            joinSegment->setEnabled(false);
        }
        return;
    }
    const Date now = platform::Environment::current()->mainQueue->now();
    // A group without a complete window is never open.
    if (group->startTime && group->endTime && Functions::date(now, *group->startTime, *group->endTime)) {
        joinSegment->setSelectedSegmentIndex(1);
    } else {
        joinSegment->setEnabled(false);
    }
}

void GroupDetailsViewController::joinSegmentChanged(ui::SegmentedControl& sender) {
    if (!group) return;
    auto done = [weak = weakAs<GroupDetailsViewController>()](std::int32_t code, Info) {
        auto self = weak.lock();
        if (code != 0 || !self) return;
        if (auto* navigation = self->navigationController()) navigation->popViewControllerAnimated(false);
    };
    switch (sender.selectedSegmentIndex()) {
        case 0: group->joinWithCompletitionHandler(done); break;
        case 1: group->unjoinWithCompletitionHandler(done); break;
        default: break;
    }
}

void GroupDetailsViewController::setupBluetoothView() {
    auto me = User::getCurrentUser();
    if (!group || !me || !group->isLeadingUser(*me)) {
        bluetoothView->setHidden(true);
        return;
    }
    bluetoothView->setHidden(false);
    setupBluetoothSegment();
}

void GroupDetailsViewController::setupBluetoothSegment() {
    auto advertised = getGroupToAdvertise();
    bluetoothSegment->setSelectedSegmentIndex(advertised && group && sameGroup(*advertised, *group) ? 0 : 1);
}

void GroupDetailsViewController::bluetoothSegmentChanged(ui::SegmentedControl& sender) {
    switch (sender.selectedSegmentIndex()) {
        case 0:
            setGroupToAdvertise(group);
            stopAdvertising();
            startAdvertising();
            break;
        case 1:
            setGroupToAdvertise(nullptr);
            stopAdvertising();
            break;
        default: break;
    }
}

void GroupDetailsViewController::prepareForSegue(ui::StoryboardSegue& segue, ui::View*) {
    if (segue.identifier() == kWaypointsSegue) {
        if (auto map = std::dynamic_pointer_cast<WaypointsMapViewController>(segue.destinationViewController())) {
            map->group = group;
        }
        return;
    }
    if (segue.identifier() != kMembersSegue) return;
    if (auto members = std::dynamic_pointer_cast<GroupMembersTableViewController>(segue.destinationViewController())) {
        members->group = group;
    }
}

}  // namespace kelpa
