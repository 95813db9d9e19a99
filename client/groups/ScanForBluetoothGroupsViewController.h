#pragma once

#include "client/model/Handlers.h"
#include "platform/bluetooth/CentralManager.h"
#include "platform/bluetooth/CentralManagerDelegate.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kelpa {

class Group;

// The groups whose leaders make them findable nearby, newest first. A tap asks the service to
// let this user in; the leader's phone decides, so the screen never joins by itself.
class ScanForBluetoothGroupsViewController : public platform::ui::ViewController,
                                             public platform::CentralManagerDelegate,
                                             public platform::ui::TableViewDataSource,
                                             public platform::ui::TableViewDelegate {
public:
    const char* className() const override { return "ScanForBluetoothGroupsViewController"; }

    void loadView() override;
    void viewDidLoad() override;

    void scan();
    void addGroup(std::shared_ptr<Group> group);

    void centralManagerDidUpdateState(platform::CentralManager& central) override;
    void didDiscoverPeripheral(platform::CentralManager& central, const platform::Peripheral& peripheral,
                               const platform::AdvertisementData& advertisementData, int RSSI) override;

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(
        platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;

    RecordList<Group> groups;
    std::shared_ptr<platform::CentralManager> centralManager;
    std::shared_ptr<platform::ui::TableView> groupsTableView;
    // What is going on while no group is listed.
    std::shared_ptr<platform::ui::Label> scanStatus;
    // Turns while the radio is on and nothing is found yet.
    std::shared_ptr<platform::ui::ActivityIndicatorView> scanActivity;

private:
    void updateStatus();
};

}  // namespace kelpa
