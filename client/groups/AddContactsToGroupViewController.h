#pragma once

#include "platform/bluetooth/CentralManager.h"
#include "platform/bluetooth/CentralManagerDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace kelpa {

class Group;
class User;

// The second step of planning a group: the users to invite, ticked from the creator's
// contacts and, when the first step asked for it, from the users whose phones are nearby.
// Each candidate is listed once.
class AddContactsToGroupViewController : public platform::ui::ViewController,
                                         public platform::ui::TableViewDataSource,
                                         public platform::ui::TableViewDelegate,
                                         public platform::CentralManagerDelegate {
public:
    static constexpr const char* kStartEndSegue = "fromMembersToStartEnd";

    const char* className() const override { return "AddContactsToGroupViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void prepareForSegue(platform::ui::StoryboardSegue& segue, platform::ui::View* sender) override;

    void setupContacts();
    void addUser(const std::shared_ptr<User>& user);

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(platform::ui::TableView& tableView,
                                                                       const platform::ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    void didDeselectRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;

    void centralManagerDidUpdateState(platform::CentralManager& central) override;
    void didDiscoverPeripheral(platform::CentralManager& central, const platform::Peripheral& peripheral,
                               const platform::AdvertisementData& advertisementData, int RSSI) override;

    std::shared_ptr<Group> group;
    bool bluetoothSearch = false;
    std::vector<std::shared_ptr<User>> contacts;
    std::vector<std::shared_ptr<User>> selectedContacts;

    std::shared_ptr<platform::ui::TableView> contactsTableView;
    std::shared_ptr<platform::ui::Button> next;
    std::shared_ptr<platform::CentralManager> centralManager;

private:
    bool isSelected(const User& user) const;
    // A reload lets go of the table's selection; the ticked candidates are selected again.
    void reselectTicked();
};

}  // namespace kelpa
