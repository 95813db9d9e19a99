#pragma once

#include "client/bluetooth/MasterTableViewController.h"
#include "client/model/Handlers.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"

#include <memory>

namespace kelpa {

class Group;
class RowPictures;
class User;

// The contacts who are not members of a group yet; the person ticks several and invites
// them in the order they were ticked.
class AddUserToExitingGroupTableViewController : public MasterTableViewController,
                                                 public platform::ui::TableViewDataSource,
                                                 public platform::ui::TableViewDelegate {
public:
    const char* className() const override { return "AddUserToExitingGroupTableViewController"; }

    void loadView() override;
    void viewDidLoad() override;

    void finishAdding();

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(
        platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    void didDeselectRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;

    std::shared_ptr<Group> group;
    RecordList<User> selectableContacts;
    RecordList<User> selectedContacts;
    std::shared_ptr<platform::ui::TableView> contactsTableView;
    std::shared_ptr<platform::ui::Button> finish;

private:
    std::shared_ptr<User> contactAt(const platform::ui::IndexPath& indexPath) const;

    std::shared_ptr<RowPictures> pictures_;
};

}  // namespace kelpa
