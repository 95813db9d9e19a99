#include "client/app/MainStoryboard.h"

#include "client/app/AuthViewController.h"
#include "client/app/PhoneVerificationViewController.h"
#include "client/app/ProfileSetupViewController.h"
#include "client/app/RegistrationViewController.h"
#include "client/contacts/AddContactViewController.h"
#include "client/contacts/ChatViewController.h"
#include "client/contacts/ContactsTableViewController.h"
#include "client/groups/AddContactsToGroupViewController.h"
#include "client/groups/AddDetailsToGroupViewController.h"
#include "client/groups/AddStartEndViewController.h"
#include "client/groups/AddUserToExitingGroupTableViewController.h"
#include "client/groups/AddWaypointsFromAdressViewController.h"
#include "client/groups/GroupDetailsViewController.h"
#include "client/groups/GroupMembersTableViewController.h"
#include "client/groups/GroupsTableViewController.h"
#include "client/groups/NewGroupMenuViewController.h"
#include "client/groups/QuickJoinViewController.h"
#include "client/groups/ScanForBluetoothGroupsViewController.h"
#include "client/location/AddAnnotationsViewController.h"
#include "client/location/MapViewController.h"
#include "client/location/WaypointsMapViewController.h"
#include "client/profile/ProfileViewController.h"
#include "client/bluetooth/PeripheralViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/TabBarController.h"

#include <iterator>

namespace kelpa {

namespace ui = platform::ui;

namespace {
std::shared_ptr<ui::ViewController> tab(const char* title, std::shared_ptr<ui::ViewController> root) {
    auto navigation = ui::NavigationController::initWithRootViewController(std::move(root));
    navigation->setTitle(title);
    return navigation;
}

}  // namespace

void MainStoryboard::install() {
    ui::Storyboard::registerStoryboard(kName, [](ui::Storyboard& main) {
        main.registerScreen("AuthViewControllerNav", [] {
            auto navigation =
                ui::NavigationController::initWithRootViewController(std::make_shared<AuthViewController>());
            navigation->setTitle("Sign in");
            return navigation;
        });
        main.registerScreen("RegistrationViewController", [] { return std::make_shared<RegistrationViewController>(); });
        main.registerScreen("PhoneVerificationViewController",
                            [] { return std::make_shared<PhoneVerificationViewController>(); });
        main.registerScreen("ProfileSetupViewController", [] { return std::make_shared<ProfileSetupViewController>(); });
        main.registerScreen("PeripheralViewController", [] { return std::make_shared<PeripheralViewController>(); });
        main.registerScreen("Tabs", [] {
            auto tabs = std::make_shared<ui::TabBarController>();
            std::vector<std::shared_ptr<ui::ViewController>> screens;
            screens.push_back(tab(kTabTitles[0], std::make_shared<MapViewController>()));
            screens.push_back(tab(kTabTitles[1], std::make_shared<GroupsTableViewController>()));
            screens.push_back(tab(kTabTitles[2], std::make_shared<ContactsTableViewController>()));
            screens.push_back(tab(kTabTitles[3], std::make_shared<ProfileViewController>()));
            tabs->setViewControllers(std::move(screens));
            return tabs;
        });
        main.registerScreen("GroupDetails", [] { return std::make_shared<GroupDetailsViewController>(); });
        main.registerScreen("NewGroupMenuViewController", [] { return std::make_shared<NewGroupMenuViewController>(); });
        main.registerScreen("QuickJoinViewController", [] { return std::make_shared<QuickJoinViewController>(); });
        main.registerScreen("GroupMembers", [] { return std::make_shared<GroupMembersTableViewController>(); });
        main.registerScreen("AddUserToExitingGroup",
                            [] { return std::make_shared<AddUserToExitingGroupTableViewController>(); });
        main.registerScreen("ScanGroups", [] { return std::make_shared<ScanForBluetoothGroupsViewController>(); });
        main.registerScreen("GroupWaypoints", [] { return std::make_shared<WaypointsMapViewController>(); });
        // Planning a group, step by step.
        main.registerScreen("PlannedGroup", [] { return std::make_shared<AddDetailsToGroupViewController>(); });
        main.registerScreen("AddContactsToGroupViewController",
                            [] { return std::make_shared<AddContactsToGroupViewController>(); });
        main.registerScreen("AddStartEndViewController", [] { return std::make_shared<AddStartEndViewController>(); });
        main.registerScreen("AddWaypointsFromAdressViewController",
                            [] { return std::make_shared<AddWaypointsFromAdressViewController>(); });
        main.registerScreen("AddAnnotationsViewController", [] { return std::make_shared<AddAnnotationsViewController>(); });
        main.registerScreen("ChatViewController", [] { return std::make_shared<ChatViewController>(); });
        main.registerScreen("AddContactViewController", [] { return std::make_shared<AddContactViewController>(); });
        main.setInitialScreen("AuthViewControllerNav");
        main.registerSegue("AuthViewController", AuthViewController::kRegistrationSegue, "RegistrationViewController");
        main.registerSegue("GroupsTableViewController", GroupsTableViewController::kNewGroupSegue,
                           "NewGroupMenuViewController");
        main.registerSegue("ContactsTableViewController", ContactsTableViewController::kAddContactSegue,
                           "AddContactViewController");
        main.registerSegue("GroupDetailsViewController", GroupDetailsViewController::kMembersSegue, "GroupMembers");
        main.registerSegue("GroupDetailsViewController", GroupDetailsViewController::kWaypointsSegue, "GroupWaypoints");
        main.registerSegue("GroupMembersTableViewController", GroupMembersTableViewController::kAddUsersSegue,
                           "AddUserToExitingGroup");
        main.registerSegue("NewGroupMenuViewController", NewGroupMenuViewController::kQuickJoinSegue,
                           "QuickJoinViewController");
        main.registerSegue("NewGroupMenuViewController", NewGroupMenuViewController::kPlannedSegue, "PlannedGroup");
        main.registerSegue("NewGroupMenuViewController", NewGroupMenuViewController::kScanSegue, "ScanGroups");
        main.registerSegue("AddDetailsToGroupViewController", AddDetailsToGroupViewController::kMembersSegue,
                           "AddContactsToGroupViewController");
        main.registerSegue("AddContactsToGroupViewController", AddContactsToGroupViewController::kStartEndSegue,
                           "AddStartEndViewController");
        main.registerSegue("AddStartEndViewController", AddStartEndViewController::kWaypointsSegue,
                           "AddWaypointsFromAdressViewController");
        main.registerSegue("AddWaypointsFromAdressViewController", AddWaypointsFromAdressViewController::kMapSegue,
                           "AddAnnotationsViewController");
        main.registerSegue("NewGroupMenuViewController", NewGroupMenuViewController::kBeFoundSegue,
                           "PeripheralViewController");
    });
}

}  // namespace kelpa
