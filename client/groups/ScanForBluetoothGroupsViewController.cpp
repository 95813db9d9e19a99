#include "client/groups/ScanForBluetoothGroupsViewController.h"

#include "client/bluetooth/NearbyScan.h"
#include "client/model/Group.h"
#include "platform/Log.h"
#include "platform/ui/NavigationController.h"

namespace kelpa {

namespace ui = platform::ui;
using platform::ManagerState;

void ScanForBluetoothGroupsViewController::loadView() {
    ViewController::loadView();
    setTitle("Groups nearby");
    scanStatus = std::make_shared<ui::Label>("scanStatus");
    scanStatus->setAccessibilityLabel("Scan status");
    view()->addSubview(scanStatus);
    scanActivity = std::make_shared<ui::ActivityIndicatorView>("scanActivity");
    scanActivity->setAccessibilityLabel("Looking for groups");
    view()->addSubview(scanActivity);
    groupsTableView = std::make_shared<ui::TableView>("groupsTableView");
    groupsTableView->setAccessibilityLabel("Groups nearby");
    view()->addSubview(groupsTableView);
}

void ScanForBluetoothGroupsViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    groups.clear();
    groupsTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    groupsTableView->setDelegate(weakAs<ui::TableViewDelegate>());
    centralManager = platform::CentralManager::initWithDelegate(weakAs<platform::CentralManagerDelegate>());
    updateStatus();
}

void ScanForBluetoothGroupsViewController::scan() {
    if (centralManager) NearbyScan::start(*centralManager);
}

void ScanForBluetoothGroupsViewController::addGroup(std::shared_ptr<Group> group) {
    groups.insert(groups.begin(), std::move(group));
    groupsTableView->reloadData();
    updateStatus();
}

void ScanForBluetoothGroupsViewController::centralManagerDidUpdateState(platform::CentralManager& central) {
    if (auto line = NearbyScan::stateLine(central.state())) platform::log(*line);
    // Every return of power (Bluetooth switched off and on) scans afresh.
    if (central.state() == ManagerState::poweredOn) scan();
    updateStatus();
}

void ScanForBluetoothGroupsViewController::didDiscoverPeripheral(platform::CentralManager&, const platform::Peripheral&,
                                                                 const platform::AdvertisementData& advertisementData,
                                                                 int) {
    auto groupID = NearbyScan::announcedIdentifier(advertisementData);
    if (!groupID) return;
    Group::getGroupFromID(*groupID, [weak = weakAs<ScanForBluetoothGroupsViewController>()](std::shared_ptr<Group> group,
                                                                                           Info error) {
        auto self = weak.lock();
        if (!self || error || !group) return;
        self->addGroup(std::move(group));
    });
}

int ScanForBluetoothGroupsViewController::numberOfRowsInSection(ui::TableView&, int) {
    return static_cast<int>(groups.size());
}

std::shared_ptr<ui::TableViewCell> ScanForBluetoothGroupsViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::defaultStyle, "Cell");
    const auto& group = groups.at(static_cast<std::size_t>(indexPath.row));
    cell->textLabel().setText(group->jDescription.value_or("(null)"));
    return cell;
}

void ScanForBluetoothGroupsViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= groups.size()) return;
    groups[static_cast<std::size_t>(indexPath.row)]->requestGroupJoin(
        [weak = weakAs<ScanForBluetoothGroupsViewController>()](Info info) {
            // A refusal leaves the list as it is; the person may tap again.
            if (info) return;
            auto self = weak.lock();
            if (!self) return;
            if (auto* navigation = self->navigationController()) navigation->popToRootViewControllerAnimated(true);
        });
}

void ScanForBluetoothGroupsViewController::updateStatus() {
    if (!scanStatus) return;
    scanStatus->setHidden(!groups.empty());
    const auto state = centralManager ? centralManager->state() : ManagerState::unknown;
    if (groups.empty() && state == ManagerState::poweredOn) {
        scanActivity->startAnimating();
    } else {
        scanActivity->stopAnimating();
    }
    scanActivity->setHidden(!scanActivity->isAnimating());
    switch (state) {
        case ManagerState::poweredOn:
            scanStatus->setText("Looking for groups nearby. A group appears here while its leader lets it be found.");
            break;
        case ManagerState::poweredOff:
            scanStatus->setText("Bluetooth is off. Switch it on to look for groups nearby.");
            break;
        case ManagerState::unauthorized:
            scanStatus->setText("Kelpa may not use Bluetooth, so it cannot look for groups nearby.");
            break;
        case ManagerState::unsupported:
            scanStatus->setText("This device has no Bluetooth LE, so it cannot look for groups nearby.");
            break;
        case ManagerState::unknown:
        case ManagerState::resetting:
            scanStatus->setText("Starting Bluetooth\u2026");
            break;
    }
}

}  // namespace kelpa
