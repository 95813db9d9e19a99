#pragma once

#include "client/bluetooth/MasterViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"

#include <memory>

namespace kelpa {

class Group;

// One group's fields, the control that joins or leaves it while its window is open, and for
// its leader the control that makes it discoverable nearby. Leads on to the members and to
// the waypoint map.
class GroupDetailsViewController : public MasterViewController {
public:
    static constexpr const char* kMembersSegue = "fromDetailsToMembers";
    static constexpr const char* kWaypointsSegue = "fromDetailsToWaypoints";

    const char* className() const override { return "GroupDetailsViewController"; }

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void prepareForSegue(platform::ui::StoryboardSegue& segue, platform::ui::View* sender) override;

    void setupDetails();
    void setupJoinSegment();
    void joinSegmentChanged(platform::ui::SegmentedControl& sender);
    void setupBluetoothView();
    void setupBluetoothSegment();
    void bluetoothSegmentChanged(platform::ui::SegmentedControl& sender);

    std::shared_ptr<Group> group;

    std::shared_ptr<platform::ui::Label> groupID;
    std::shared_ptr<platform::ui::Label> groupDescription;
    std::shared_ptr<platform::ui::Label> groupCreated;
    std::shared_ptr<platform::ui::Label> groupType;
    std::shared_ptr<platform::ui::Label> groupStart;
    std::shared_ptr<platform::ui::Label> groupEnd;
    std::shared_ptr<platform::ui::Button> groupMembers;
    std::shared_ptr<platform::ui::Button> groupWaypoints;
    std::shared_ptr<platform::ui::SegmentedControl> joinSegment;
    std::shared_ptr<platform::ui::View> bluetoothView;
    std::shared_ptr<platform::ui::SegmentedControl> bluetoothSegment;
};

}  // namespace kelpa
