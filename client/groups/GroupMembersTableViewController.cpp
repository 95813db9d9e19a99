#include "client/groups/GroupMembersTableViewController.h"

#include "client/groups/AddUserToExitingGroupTableViewController.h"
#include "client/groups/RowPictures.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/User.h"
#include "platform/Log.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/StoryboardSegue.h"

namespace kelpa {

namespace ui = platform::ui;

void GroupMembersTableViewController::loadView() {
    MasterTableViewController::loadView();
    setTitle("Members");
    pictures_ = RowPictures::make();
    addMembers = std::make_shared<ui::Button>("addMembers");
    addMembers->setTitle("Add members");
    connectSegue(addMembers, kAddUsersSegue);
    view()->addSubview(addMembers);
    membersTableView = std::make_shared<ui::TableView>("membersTableView");
    membersTableView->setAccessibilityLabel("Members");
    auto refresh = std::make_shared<ui::RefreshControl>("refreshMembers");
    refresh->addTarget(ui::Control::Event::valueChanged, [this](ui::Control& sender) {
        refreshMembers(static_cast<ui::RefreshControl&>(sender));
    });
    membersTableView->setRefreshControl(refresh);
    view()->addSubview(membersTableView);
}

void GroupMembersTableViewController::viewDidLoad() {
    MasterTableViewController::viewDidLoad();
    membersTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    membersTableView->setDelegate(weakAs<ui::TableViewDelegate>());
    auto me = User::getCurrentUser();
    if (!me) return;
    me->getContactsWithCompletitionHandler(
        [weak = weakAs<GroupMembersTableViewController>()](std::optional<RecordList<User>> contacts, Info error) {
            auto self = weak.lock();
            if (!self || error) return;
            RecordList<User> selectable;
            for (const auto& contact : contacts.value_or(RecordList<User>{})) {
                if (!contact) continue;
                if (self->group && self->group->userIsAlreadyInGroup(*contact)) continue;
                selectable.push_back(contact);
            }
            self->selectableContacts = std::move(selectable);
        });
}

void GroupMembersTableViewController::viewDidAppear(bool animated) {
    MasterTableViewController::viewDidAppear(animated);
    setupMembers();
}

ListHandler<Member> GroupMembersTableViewController::installingMembers(
    std::weak_ptr<GroupMembersTableViewController> screen) {
    return [screen](std::optional<RecordList<Member>> list, Info error) {
        auto self = screen.lock();
        if (!self) return;
        if (error) {
            platform::log(*error);
            return;
        }
        if (self->group) self->group->members = list.value_or(RecordList<Member>{});
        self->membersTableView->reloadData();
    };
}

void GroupMembersTableViewController::setupMembers() {
    if (!group) return;
    group->loadMembersWithCompletitionHandler(installingMembers(weakAs<GroupMembersTableViewController>()));
}

void GroupMembersTableViewController::refreshMembers(ui::RefreshControl& sender) {
    // The control is ours, so it lives as long as the screen the handler holds.
    auto control = std::static_pointer_cast<ui::RefreshControl>(sender.shared_from_this());
    if (!group) return control->endRefreshing();
    auto install = installingMembers(weakAs<GroupMembersTableViewController>());
    group->loadMembersWithCompletitionHandler(
        [install, control](std::optional<RecordList<Member>> list, Info error) {
            install(std::move(list), std::move(error));
            control->endRefreshing();
        },
        true);
}

std::shared_ptr<Member> GroupMembersTableViewController::memberAt(const ui::IndexPath& indexPath) const {
    if (!group || !group->members || indexPath.row < 0) return nullptr;
    const auto row = static_cast<std::size_t>(indexPath.row);
    return row < group->members->size() ? (*group->members)[row] : nullptr;
}

int GroupMembersTableViewController::numberOfRowsInSection(ui::TableView&, int) {
    return group && group->members ? static_cast<int>(group->members->size()) : 0;
}

std::shared_ptr<ui::TableViewCell> GroupMembersTableViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::subtitle, "Cell");
    auto member = memberAt(indexPath);
    auto user = member ? member->user : nullptr;
    cell->textLabel().setText(user && user->displayName ? *user->displayName : "(null)");
    // Reused cells carry their last subtitle and mark, so every row sets its own.
    if (auto* detail = cell->detailTextLabel()) detail->setText(member && member->joined ? kJoinedText : "");
    if (member && member->isLeader) {
        auto mark = std::make_shared<ui::ImageView>(Group::getLeaderImage());
        mark->setFrame({0, 0, 30, 30});
        mark->setAccessibilityLabel("Leader");
        cell->setAccessoryView(mark);
    } else {
        cell->setAccessoryView(nullptr);
    }
    pictures_->show(cell, user);
    return cell;
}

bool GroupMembersTableViewController::mayRemove(const Member& member) const {
    auto me = User::getCurrentUser();
    if (!me || !group || !group->isLeadingUser(*me)) return false;
    return !(member.user && member.user->userID == me->userID);
}

bool GroupMembersTableViewController::canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
    auto member = memberAt(indexPath);
    return member && mayRemove(*member);
}

void GroupMembersTableViewController::commitEditingStyle(ui::TableView&, ui::TableViewCellEditingStyle editingStyle,
                                                         const ui::IndexPath& indexPath) {
    auto member = memberAt(indexPath);
    if (editingStyle != ui::TableViewCellEditingStyle::deleteStyle || !member || !mayRemove(*member)) return;
    // A successful removal fetches this group's members anew before the handler runs.
    member->removeMemberFromGroupWithCompletitionHandler(
        [weak = weakAs<GroupMembersTableViewController>()](std::int32_t, Info) {
            if (auto self = weak.lock()) self->setupMembers();
        },
        group);
}

void GroupMembersTableViewController::prepareForSegue(ui::StoryboardSegue& segue, ui::View*) {
    if (segue.identifier() != kAddUsersSegue) return;
    auto destination = std::dynamic_pointer_cast<AddUserToExitingGroupTableViewController>(segue.destinationViewController());
    if (!destination) return;
    destination->group = group;
    destination->selectableContacts = selectableContacts.value_or(RecordList<User>{});
}

}  // namespace kelpa
