// Inviting contacts into a group: one row per contact with its picture, ticks in the order
// of picking, unticking, nothing sent without a pick, and the pop back to the members on
// success with failures only logged.
#include "MembersFixture.h"

#include "client/groups/AddUserToExitingGroupTableViewController.h"
#include "client/groups/GroupMembersTableViewController.h"

#include <algorithm>

namespace kelpa::testing {
namespace {

using Rows = std::vector<std::string>;

// The members screen of Tour (Bob leads) with the invitation screen on top, offering 8, 9, 10.
struct Invite : ::testing::Test {
    Invite() {
        servePictures(f.app.t.http());
        f.app.t.http().queueJSONForAction(501, contactsOf({"8", "6", "9", "10"}));
        members->group = Group::initWithJSON(tourOf("6"));
        f.show(members);
        EXPECT_TRUE(f.driver.tap("addMembers"));
        f.app.t.settle();
        screen = std::dynamic_pointer_cast<AddUserToExitingGroupTableViewController>(f.navigation->viewControllers().back());
    }
    Rows rows() const { return f.driver.rows("contactsTableView"); }
    std::vector<std::string> picked() const {
        std::vector<std::string> ids;
        for (const auto& user : screen->selectedContacts) ids.push_back(user->userID.value_or(""));
        return ids;
    }
    std::vector<std::string> invited() {
        std::vector<std::string> ids;
        for (size_t i = 0; i < f.app.sent(306); ++i) ids.push_back(f.app.field(306, "inviteID", i).value_or(""));
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    GroupsFixture f;
    std::shared_ptr<GroupMembersTableViewController> members =
        std::dynamic_pointer_cast<GroupMembersTableViewController>(f.screen("GroupMembers"));
    std::shared_ptr<AddUserToExitingGroupTableViewController> screen;
};

TEST_F(Invite, ListsTheContactsWithTheirPicturesAndSeveralTicks) {
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->contactsTableView->allowsMultipleSelection());
    EXPECT_EQ(rows(), (Rows{"User 8", "User 9", "User 10"}));
    auto first = screen->contactsTableView->cellForRowAtIndexPath({0, 0});
    EXPECT_EQ(first->style(), platform::ui::TableViewCell::Style::defaultStyle);
    EXPECT_EQ(shadeIn(*first), shadeOf("8"));

    EXPECT_TRUE(f.driver.tapRow("contactsTableView", 2));
    EXPECT_TRUE(f.driver.tapRow("contactsTableView", 0));
    EXPECT_EQ(rows(), (Rows{"User 8 \u2713", "User 9", "User 10 \u2713"}));
    EXPECT_EQ(picked(), (std::vector<std::string>{"10", "8"}));
    // A second tap unticks.
    EXPECT_TRUE(f.driver.tapRow("contactsTableView", 2));
    EXPECT_EQ(rows(), (Rows{"User 8 \u2713", "User 9", "User 10"}));
    EXPECT_EQ(picked(), (std::vector<std::string>{"8"}));
}

TEST_F(Invite, NothingTickedSendsNothingAndStays) {
    ASSERT_TRUE(screen);
    EXPECT_TRUE(f.driver.tapRow("contactsTableView", 1));
    EXPECT_TRUE(f.driver.tapRow("contactsTableView", 1));
    EXPECT_TRUE(f.driver.tap("finishAdding"));
    f.app.t.settle();
    EXPECT_EQ(f.app.sent(306), 0u);
    EXPECT_EQ(f.driver.frontmostClass(), "AddUserToExitingGroupTableViewController");
}

TEST_F(Invite, TheTickedAreInvitedAndTheScreenGoesBackAtOnce) {
    ASSERT_TRUE(screen);
    f.driver.tapRow("contactsTableView", 1);
    f.driver.tapRow("contactsTableView", 2);
    f.driver.tapRow("contactsTableView", 0);
    f.driver.tapRow("contactsTableView", 2);  // changed their mind about 10
    f.app.t.http().queueJSONForAction(306, {{"code", 0}});
    f.app.t.http().queueJSONForAction(306, {{"code", 1}, {"info", "already invited"}});
    EXPECT_TRUE(f.driver.tap("finishAdding"));
    // Back before any answer: the invitations are under way.
    EXPECT_EQ(f.driver.frontmostClass(), "GroupMembersTableViewController");
    EXPECT_TRUE(f.navigation->lastTransitionOfStackAnimated());
    f.app.t.settle();
    EXPECT_EQ(invited(), (std::vector<std::string>{"8", "9"}));
    for (size_t i = 0; i < 2; ++i) EXPECT_EQ(f.app.field(306, "groupID", i), "17");
    // The refusal is a log line only.
    EXPECT_TRUE(f.app.t.logged("already invited"));
    EXPECT_FALSE(f.driver.alert());
    EXPECT_EQ(f.driver.rows("membersTableView").size(), 3u);
}

}  // namespace
}  // namespace kelpa::testing
