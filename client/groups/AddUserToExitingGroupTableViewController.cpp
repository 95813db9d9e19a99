#include "client/groups/AddUserToExitingGroupTableViewController.h"

#include "client/groups/RowPictures.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "platform/Log.h"
#include "platform/ui/NavigationController.h"

#include <algorithm>

namespace kelpa {

namespace ui = platform::ui;

void AddUserToExitingGroupTableViewController::loadView() {
    MasterTableViewController::loadView();
    setTitle("Invite contacts");
    pictures_ = RowPictures::make();
    finish = std::make_shared<ui::Button>("finishAdding");
    finish->setTitle("Invite");
    finish->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { finishAdding(); });
    view()->addSubview(finish);
    contactsTableView = std::make_shared<ui::TableView>("contactsTableView");
    contactsTableView->setAccessibilityLabel("Contacts");
    view()->addSubview(contactsTableView);
}

void AddUserToExitingGroupTableViewController::viewDidLoad() {
    MasterTableViewController::viewDidLoad();
    selectedContacts.clear();
    contactsTableView->setAllowsMultipleSelection(true);
    contactsTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    contactsTableView->setDelegate(weakAs<ui::TableViewDelegate>());
    contactsTableView->reloadData();
}

std::shared_ptr<User> AddUserToExitingGroupTableViewController::contactAt(const ui::IndexPath& indexPath) const {
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= selectableContacts.size()) return nullptr;
    return selectableContacts[static_cast<std::size_t>(indexPath.row)];
}

int AddUserToExitingGroupTableViewController::numberOfRowsInSection(ui::TableView&, int) {
    return static_cast<int>(selectableContacts.size());
}

std::shared_ptr<ui::TableViewCell> AddUserToExitingGroupTableViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::defaultStyle, "Cell");
    auto contact = contactAt(indexPath);
    cell->textLabel().setText(contact && contact->displayName ? *contact->displayName : "(null)");
    pictures_->show(cell, contact);
    return cell;
}

void AddUserToExitingGroupTableViewController::didSelectRowAtIndexPath(ui::TableView& tableView,
                                                                       const ui::IndexPath& indexPath) {
    auto contact = contactAt(indexPath);
    if (!contact) return;
    if (auto cell = tableView.cellForRowAtIndexPath(indexPath)) {
        if (const auto& accessory = cell->accessoryView()) accessory->setHidden(false);
        cell->setAccessoryType(ui::TableViewCell::AccessoryType::checkmark);
    }
    selectedContacts.push_back(contact);
}

void AddUserToExitingGroupTableViewController::didDeselectRowAtIndexPath(ui::TableView& tableView,
                                                                         const ui::IndexPath& indexPath) {
    auto contact = contactAt(indexPath);
    if (!contact) return;
    if (auto cell = tableView.cellForRowAtIndexPath(indexPath)) {
        if (const auto& accessory = cell->accessoryView()) accessory->setHidden(true);
        cell->setAccessoryType(ui::TableViewCell::AccessoryType::none);
    }
    std::erase(selectedContacts, contact);
}

void AddUserToExitingGroupTableViewController::finishAdding() {
    if (selectedContacts.empty() || !group) return;
    group->inviteUsers(selectedContacts, [weak = weakAs<AddUserToExitingGroupTableViewController>()](std::int32_t code,
                                                                                                   Info info) {
        if (code == 0) {
            auto self = weak.lock();
            if (!self) return;
            if (auto* navigation = self->navigationController()) navigation->popViewControllerAnimated(true);
        } else if (code == 1) {
            // By now the screen has gone; the line is all that is left of the failure.
            platform::log(info.value_or("(null)"));
        }
    });
}

}  // namespace kelpa
