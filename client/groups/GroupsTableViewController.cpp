#include "client/groups/GroupsTableViewController.h"

#include "client/groups/GroupDetailsViewController.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "platform/Log.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Storyboard.h"

namespace kelpa {

namespace ui = platform::ui;

void GroupsTableViewController::loadView() {
    MasterTableViewController::loadView();
    setTitle("Groups");
    newGroup = std::make_shared<ui::Button>("newGroup");
    newGroup->setTitle("New group");
    connectSegue(newGroup, kNewGroupSegue);
    view()->addSubview(newGroup);
    groupsTableView = std::make_shared<ui::TableView>("groupsTableView");
    groupsTableView->setAccessibilityLabel("Groups");
    auto refresh = std::make_shared<ui::RefreshControl>("refreshGroups");
    refresh->addTarget(ui::Control::Event::valueChanged, [this](ui::Control& sender) {
        refreshGroup(static_cast<ui::RefreshControl&>(sender));
    });
    groupsTableView->setRefreshControl(refresh);
    view()->addSubview(groupsTableView);
}

void GroupsTableViewController::viewDidLoad() {
    MasterTableViewController::viewDidLoad();
    groupsTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    groupsTableView->setDelegate(weakAs<ui::TableViewDelegate>());
    setupGroups();
}

void GroupsTableViewController::viewDidAppear(bool animated) {
    MasterTableViewController::viewDidAppear(animated);
    setupGroups();
}

ListHandler<Group> GroupsTableViewController::replacingRows(std::weak_ptr<GroupsTableViewController> screen) {
    return [screen](std::optional<RecordList<Group>> list, Info error) {
        auto self = screen.lock();
        if (!self || error) return;
        self->groups = list.value_or(RecordList<Group>{});
        self->groupsTableView->reloadData();
    };
}

void GroupsTableViewController::setupGroups() {
    auto me = User::getCurrentUser();
    if (!me) return;
    me->getGroupsWithCompletitionHandler(replacingRows(weakAs<GroupsTableViewController>()), true);
}

void GroupsTableViewController::refreshGroup(ui::RefreshControl& sender) {
    auto me = User::getCurrentUser();
    // The control is ours, so it lives as long as the screen the handler holds.
    auto control = std::static_pointer_cast<ui::RefreshControl>(sender.shared_from_this());
    if (!me) return control->endRefreshing();
    auto replace = replacingRows(weakAs<GroupsTableViewController>());
    me->getGroupsWithCompletitionHandler(
        [replace, control](std::optional<RecordList<Group>> list, Info error) {
            if (error) platform::log(*error);
            replace(std::move(list), error);
            control->endRefreshing();
        },
        true);
}

int GroupsTableViewController::numberOfRowsInSection(ui::TableView&, int) { return static_cast<int>(groups.size()); }

std::shared_ptr<ui::TableViewCell> GroupsTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                     const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::value1, "Cell");
    const auto& group = groups.at(static_cast<std::size_t>(indexPath.row));
    cell->textLabel().setText(group->jDescription.value_or("(null)"));
    auto joined = Group::getJoinedGroup();
    const bool isJoined = joined && joined->groupID && group->groupID && *joined->groupID == *group->groupID;
    // Reused cells carry their last text, so every row sets its own.
    if (auto* detail = cell->detailTextLabel()) detail->setText(isJoined ? kJoinedText : "");
    return cell;
}

bool GroupsTableViewController::canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) { return true; }

void GroupsTableViewController::commitEditingStyle(ui::TableView&, ui::TableViewCellEditingStyle editingStyle,
                                                   const ui::IndexPath& indexPath) {
    if (editingStyle != ui::TableViewCellEditingStyle::deleteStyle) return;
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= groups.size()) return;
    groups[static_cast<std::size_t>(indexPath.row)]->removeGroupWithCompletitionHandler(
        [weak = weakAs<GroupsTableViewController>()](std::int32_t, Info) {
            if (auto self = weak.lock()) self->setupGroups();
        });
}

void GroupsTableViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= groups.size()) return;
    auto board = storyboard() ? storyboard() : ui::Storyboard::storyboardWithName("Main");
    if (!board) return;
    auto details = std::dynamic_pointer_cast<GroupDetailsViewController>(
        board->instantiateViewControllerWithIdentifier("GroupDetails"));
    auto* navigation = navigationController();
    if (!details || !navigation) return;
    details->group = groups[static_cast<std::size_t>(indexPath.row)];
    navigation->pushViewController(details, true);
}

}  // namespace kelpa
