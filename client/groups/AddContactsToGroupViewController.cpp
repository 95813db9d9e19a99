#include "client/groups/AddContactsToGroupViewController.h"

#include "client/bluetooth/NearbyScan.h"
#include "client/groups/AddStartEndViewController.h"
#include "client/model/User.h"
#include "platform/Log.h"
#include "platform/ui/StoryboardSegue.h"

#include <algorithm>

namespace kelpa {

namespace ui = platform::ui;

void AddContactsToGroupViewController::loadView() {
    ViewController::loadView();
    setTitle("Invite");
    contactsTableView = std::make_shared<ui::TableView>("contactsTableView");
    contactsTableView->setAccessibilityLabel("Users to invite");
    view()->addSubview(contactsTableView);
    next = std::make_shared<ui::Button>("next");
    next->setTitle("Next");
    connectSegue(next, kStartEndSegue);
    view()->addSubview(next);
}

void AddContactsToGroupViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    contacts.clear();
    selectedContacts.clear();
    contactsTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    contactsTableView->setDelegate(weakAs<ui::TableViewDelegate>());
    contactsTableView->setAllowsMultipleSelection(true);
    setupContacts();
    if (bluetoothSearch) centralManager = platform::CentralManager::initWithDelegate(weakAs<platform::CentralManagerDelegate>());
}

void AddContactsToGroupViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    setupContacts();
}

void AddContactsToGroupViewController::setupContacts() {
    auto me = User::getCurrentUser();
    if (!me) return;
    me->getContactsWithCompletitionHandler(
        [weak = weakAs<AddContactsToGroupViewController>()](std::optional<RecordList<User>> list, Info error) {
            auto self = weak.lock();
            if (!self || error || !list) return;
            for (const auto& user : *list) self->addUser(user);
        });
}

void AddContactsToGroupViewController::addUser(const std::shared_ptr<User>& user) {
    if (!user) return;
    // Identifiers are compared as texts; a record without one matches nothing.
    const bool listed = std::any_of(contacts.begin(), contacts.end(), [&](const auto& candidate) {
        return candidate->userID && user->userID && *candidate->userID == *user->userID;
    });
    if (listed) return;
    contacts.push_back(user);
    contactsTableView->reloadData();
    reselectTicked();
}

bool AddContactsToGroupViewController::isSelected(const User& user) const {
    return std::any_of(selectedContacts.begin(), selectedContacts.end(),
                       [&](const auto& ticked) { return ticked.get() == &user; });
}

void AddContactsToGroupViewController::reselectTicked() {
    for (std::size_t row = 0; row < contacts.size(); ++row) {
        if (isSelected(*contacts[row])) contactsTableView->selectRowAtIndexPath({0, static_cast<int>(row)});
    }
}

int AddContactsToGroupViewController::numberOfRowsInSection(ui::TableView&, int) {
    return static_cast<int>(contacts.size());
}

std::shared_ptr<ui::TableViewCell> AddContactsToGroupViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                          const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::defaultStyle, "Cell");
    const auto& user = contacts.at(static_cast<std::size_t>(indexPath.row));
    cell->textLabel().setText(user->displayName.value_or("(null)"));
    // A reused cell keeps its mark; it shows whether this candidate is ticked.
    cell->setAccessoryType(isSelected(*user) ? ui::TableViewCell::AccessoryType::checkmark
                                             : ui::TableViewCell::AccessoryType::none);
    user->getProfileImageFromAPIWithCompletitionHandler([weakCell = std::weak_ptr<ui::TableViewCell>(cell)](ImagePtr image) {
        auto shown = weakCell.lock();
        if (!shown) return;
        shown->imageView().setImage(std::move(image));
        shown->setNeedsLayout();
    });
    return cell;
}

void AddContactsToGroupViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) {
    if (auto cell = tableView.cellForRowAtIndexPath(indexPath)) {
        if (cell->accessoryView()) cell->accessoryView()->setHidden(false);
        cell->setAccessoryType(ui::TableViewCell::AccessoryType::checkmark);
    }
    selectedContacts.push_back(contacts.at(static_cast<std::size_t>(indexPath.row)));
}

void AddContactsToGroupViewController::didDeselectRowAtIndexPath(ui::TableView& tableView,
                                                                 const ui::IndexPath& indexPath) {
    if (auto cell = tableView.cellForRowAtIndexPath(indexPath)) {
        if (cell->accessoryView()) cell->accessoryView()->setHidden(true);
        cell->setAccessoryType(ui::TableViewCell::AccessoryType::none);
    }
    const auto& user = contacts.at(static_cast<std::size_t>(indexPath.row));
    std::erase_if(selectedContacts, [&](const auto& ticked) { return ticked == user; });
}

void AddContactsToGroupViewController::centralManagerDidUpdateState(platform::CentralManager& central) {
    if (auto line = NearbyScan::stateLine(central.state())) platform::log(*line);
    if (central.state() == platform::ManagerState::poweredOn) NearbyScan::start(central);
}

void AddContactsToGroupViewController::didDiscoverPeripheral(platform::CentralManager&, const platform::Peripheral&,
                                                             const platform::AdvertisementData& advertisementData, int) {
    auto userID = NearbyScan::announcedIdentifier(advertisementData);
    if (!userID) return;
    User::getUserFromID(*userID, [weak = weakAs<AddContactsToGroupViewController>()](std::shared_ptr<User> user, Info error) {
        auto self = weak.lock();
        if (!self || error) return;
        self->addUser(user);
    });
}

void AddContactsToGroupViewController::prepareForSegue(ui::StoryboardSegue& segue, ui::View*) {
    if (segue.identifier() != kStartEndSegue) return;
    if (auto destination = std::dynamic_pointer_cast<AddStartEndViewController>(segue.destinationViewController())) {
        destination->users = selectedContacts;
        destination->group = group;
    }
}

}  // namespace kelpa
