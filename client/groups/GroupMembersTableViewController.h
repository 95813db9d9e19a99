#pragma once

#include "client/bluetooth/MasterTableViewController.h"
#include "client/model/Handlers.h"
#include "platform/ui/Button.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TableView.h"

#include <memory>
#include <optional>

namespace kelpa {

class Group;
class Member;
class RowPictures;
class User;

// The members of one group with their pictures, who is joined and who leads. The leader
// removes other members with a swipe; a pull fetches the list anew; a button leads on to
// inviting the contacts who are not members yet.
class GroupMembersTableViewController : public MasterTableViewController,
                                        public platform::ui::TableViewDataSource,
                                        public platform::ui::TableViewDelegate {
public:
    static constexpr const char* kAddUsersSegue = "fromGroupMembersToAddUseres";
    static constexpr const char* kJoinedText = "joined";

    const char* className() const override { return "GroupMembersTableViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void prepareForSegue(platform::ui::StoryboardSegue& segue, platform::ui::View* sender) override;

    void setupMembers();
    void refreshMembers(platform::ui::RefreshControl& sender);

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(
        platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    void commitEditingStyle(platform::ui::TableView& tableView, platform::ui::TableViewCellEditingStyle editingStyle,
                            const platform::ui::IndexPath& indexPath) override;

    std::shared_ptr<Group> group;
    std::optional<RecordList<User>> selectableContacts;
    std::shared_ptr<platform::ui::Button> addMembers;
    std::shared_ptr<platform::ui::TableView> membersTableView;

private:
    // Installs a delivered list as the group's members; a failed load is logged and changes nothing.
    static ListHandler<Member> installingMembers(std::weak_ptr<GroupMembersTableViewController> screen);
    std::shared_ptr<Member> memberAt(const platform::ui::IndexPath& indexPath) const;
    // Only the leader removes, and never themselves.
    bool mayRemove(const Member& member) const;

    std::shared_ptr<RowPictures> pictures_;
};

}  // namespace kelpa
