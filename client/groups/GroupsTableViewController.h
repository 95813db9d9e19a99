#pragma once

#include "client/bluetooth/MasterTableViewController.h"
#include "client/model/Handlers.h"
#include "platform/ui/Button.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TableView.h"

#include <memory>

namespace kelpa {

class Group;

// The signed-in user's groups in the order the service lists them, the joined one marked.
// A row opens the group's details, a swipe removes the group (a leader deletes it, anybody
// else leaves it), a pull reloads the list; a button opens the menu for a new group.
class GroupsTableViewController : public MasterTableViewController,
                                  public platform::ui::TableViewDataSource,
                                  public platform::ui::TableViewDelegate {
public:
    static constexpr const char* kNewGroupSegue = "fromGroupsToNewGroup";
    static constexpr const char* kJoinedText = "joined!";

    const char* className() const override { return "GroupsTableViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void setupGroups();
    void refreshGroup(platform::ui::RefreshControl& sender);

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(
        platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    void commitEditingStyle(platform::ui::TableView& tableView, platform::ui::TableViewCellEditingStyle editingStyle,
                            const platform::ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;

    RecordList<Group> groups;
    std::shared_ptr<platform::ui::TableView> groupsTableView;
    std::shared_ptr<platform::ui::Button> newGroup;

private:
    // Replaces the rows with a delivered list; a failed load leaves them.
    static ListHandler<Group> replacingRows(std::weak_ptr<GroupsTableViewController> screen);
};

}  // namespace kelpa
