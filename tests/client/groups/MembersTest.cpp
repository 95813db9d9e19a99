// A group's members: the rows with who is joined and who leads, their pictures, the load on
// appearing and on a pull, removal by the leader only with the list fetched anew, and the
// contacts who are not members handed on to the invitation screen.
#include "MembersFixture.h"

#include "client/groups/AddUserToExitingGroupTableViewController.h"
#include "client/groups/GroupDetailsViewController.h"
#include "client/groups/GroupMembersTableViewController.h"
#include "client/model/Member.h"
#include "platform/ui/ImageView.h"

#include <future>

namespace kelpa::testing {
namespace {

using Rows = std::vector<std::string>;

struct Members : ::testing::Test {
    Members() { servePictures(f.app.t.http()); }
    std::shared_ptr<GroupMembersTableViewController> open(const json& group) {
        screen->group = Group::initWithJSON(group);
        f.show(screen);
        return screen;
    }
    Rows rows() const { return f.driver.rows("membersTableView"); }
    std::shared_ptr<platform::ui::TableViewCell> cell(int row) const {
        return screen->membersTableView->cellForRowAtIndexPath({0, row});
    }
    // Which rows carry the leader mark.
    std::vector<bool> marks() const {
        std::vector<bool> marked;
        for (int row = 0; row < static_cast<int>(rows().size()); ++row) marked.push_back(cell(row)->accessoryView() != nullptr);
        return marked;
    }
    void reply(int action, const json& body) { f.app.t.http().queueJSONForAction(action, body); }

    GroupsFixture f;
    std::shared_ptr<GroupMembersTableViewController> screen =
        std::dynamic_pointer_cast<GroupMembersTableViewController>(f.screen("GroupMembers"));
};

TEST_F(Members, ShowWhoIsJoinedAndWhoLeadsWithTheirPictures) {
    open(tourOf("6"));
    // The group came with its members, so nothing is fetched.
    EXPECT_EQ(f.app.sent(309), 0u);
    EXPECT_EQ(rows(), (Rows{"User 5", "User 6 | joined", "User 7"}));
    EXPECT_EQ(cell(0)->style(), platform::ui::TableViewCell::Style::subtitle);
    EXPECT_EQ(marks(), (std::vector<bool>{false, true, false}));
    auto mark = std::dynamic_pointer_cast<platform::ui::ImageView>(cell(1)->accessoryView());
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->image(), Group::getLeaderImage());
    EXPECT_EQ(mark->frame().width, 30);
    EXPECT_EQ(mark->frame().height, 30);
    EXPECT_EQ(mark->accessibleName(), "Leader");
    for (int row = 0; row < 3; ++row) EXPECT_EQ(shadeIn(*cell(row)), shadeOf(std::to_string(5 + row))) << row;

    // The next list reuses these cells: the mark and the subtitle follow the members.
    reply(309, tourOf("7", {"7", "5"})["Members"]);
    EXPECT_TRUE(f.driver.pullToRefresh("membersTableView"));
    f.app.t.settle();
    EXPECT_EQ(rows(), (Rows{"User 7", "User 5"}));
    EXPECT_EQ(marks(), (std::vector<bool>{true, false}));
    EXPECT_EQ(shadeIn(*cell(0)), shadeOf("7"));
}

TEST_F(Members, ALatePictureLandsOnlyWhereItsUserStillIs) {
    // The pictures of 5, 6 and 7 are held back until the gate opens.
    struct Gate {
        std::promise<void> promise;
        bool opened = false;
        void open() {
            if (!opened) promise.set_value();
            opened = true;
        }
        ~Gate() { open(); }  // never leaves a queue waiting
    } gate;
    auto opened = gate.promise.get_future().share();
    f.app.t.http().setResponder([opened](const platform::HttpRequest& request) {
        const bool held = request.url.ends_with("/5") || request.url.ends_with("/6") || request.url.ends_with("/7");
        if (request.method == "GET" && held) opened.wait();
        return pictureFor(request);
    });

    screen->group = Group::initWithJSON(tourOf("6"));
    f.navigation->pushViewController(screen, false);
    f.window->setRootViewController(f.navigation);
    // Before those are back, other members take the same cells, and their pictures come first.
    screen->group->members = Group::initWithJSON(tourOf("9", {"8", "9", "10"}))->members;
    screen->membersTableView->reloadData();
    auto showsItsOwn = [this] {
        for (int row = 0; row < 3; ++row) {
            if (shadeIn(*cell(row)) != shadeOf(std::to_string(8 + row))) return false;
        }
        return true;
    };
    ASSERT_TRUE(f.app.t.loop().runUntil(showsItsOwn));
    gate.open();
    f.app.t.settle();
    EXPECT_EQ(rows(), (Rows{"User 8", "User 9", "User 10"}));
    EXPECT_TRUE(showsItsOwn());
}

TEST(MembersAlone, AGroupWithoutMembersFetchesThemAndKeepsThemOnAFailure) {
    GroupsFixture f;
    auto screen = std::dynamic_pointer_cast<GroupMembersTableViewController>(f.screen("GroupMembers"));
    screen->group = std::make_shared<Group>();
    screen->group->groupID = "17";
    f.app.t.http().queueJSONForAction(309, tourOf("6")["Members"]);
    f.show(screen);
    EXPECT_EQ(f.app.sent(309), 1u);
    EXPECT_EQ(f.app.field(309, "groupID"), "17");
    EXPECT_EQ(f.driver.rows("membersTableView"), (Rows{"User 5", "User 6 | joined", "User 7"}));
    ASSERT_TRUE(screen->group->members);
    EXPECT_EQ(screen->group->members->size(), 3u);

    // Once more without a list: a failed fetch is logged and the rows stay.
    screen->group->members.reset();
    screen->setupMembers();
    f.app.t.settle();
    EXPECT_TRUE(f.app.t.logged("Unknown Error"));
    EXPECT_EQ(f.driver.rows("membersTableView").size(), 3u);
}

TEST_F(Members, APullShowsTheHeldListThenTheFetchedOneAndEndsTheControl) {
    open(tourOf("6"));
    auto refresh = screen->membersTableView->refreshControl();
    ASSERT_TRUE(refresh);
    screen->group->members->pop_back();  // what the record holds right now
    reply(309, tourOf("6", {"5", "6", "7", "8"})["Members"]);
    EXPECT_TRUE(f.driver.pullToRefresh("membersTableView"));
    EXPECT_EQ(rows(), (Rows{"User 5", "User 6 | joined"}));
    // Each delivery ends the control, the held one too.
    EXPECT_FALSE(refresh->isRefreshing());
    f.app.t.settle();
    EXPECT_EQ(rows(), (Rows{"User 5", "User 6 | joined", "User 7", "User 8"}));
    EXPECT_FALSE(refresh->isRefreshing());
    EXPECT_FALSE(f.app.t.logged("Unknown Error"));

    // No reply: logged, the rows stay, and the control ends all the same.
    EXPECT_TRUE(f.driver.pullToRefresh("membersTableView"));
    f.app.t.settle();
    EXPECT_FALSE(refresh->isRefreshing());
    EXPECT_TRUE(f.app.t.logged("Unknown Error"));
    EXPECT_EQ(rows().size(), 4u);
}

TEST(MembersAlone, OnlyTheLeaderRemovesAndNeverThemselves) {
    struct Case {
        const char* name;
        const char* leader;
        int row;
        bool removes;
    };
    const Case cases[] = {
        {"leader removes another member", "5", 1, true},
        {"leader's own row", "5", 0, false},
        {"a member who does not lead", "6", 2, false},
        {"a member on the leader's row", "6", 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        auto screen = std::dynamic_pointer_cast<GroupMembersTableViewController>(f.screen("GroupMembers"));
        screen->group = Group::initWithJSON(tourOf(c.leader));
        f.show(screen);
        EXPECT_EQ(screen->membersTableView->canDeleteRow({0, c.row}), c.removes);
        EXPECT_EQ(f.driver.deleteRow("membersTableView", c.row), c.removes);
        // Committing the delete by code is refused just the same.
        screen->commitEditingStyle(*screen->membersTableView, platform::ui::TableViewCellEditingStyle::deleteStyle,
                                   {0, c.row});
        f.app.t.settle();
        EXPECT_EQ(f.app.sent(307), c.removes ? 2u : 0u);
        if (c.removes) {
            EXPECT_EQ(f.app.field(307, "removeID"), "6");
            EXPECT_EQ(f.app.field(307, "groupID"), "17");
        }
        EXPECT_FALSE(f.driver.alert());
    }
}

TEST(MembersAlone, ARemovalFetchesTheMembersAnewOnlyWhenItWorked) {
    struct Case {
        const char* name;
        std::optional<json> removal;
        Rows rows;
    };
    const Case cases[] = {
        {"removed", json{{"code", 0}}, {"User 5", "User 7"}},
        {"refused", json{{"code", 1}, {"info", "not yours"}}, {"User 5", "User 6 | joined", "User 7"}},
        {"no reply", std::nullopt, {"User 5", "User 6 | joined", "User 7"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        auto screen = std::dynamic_pointer_cast<GroupMembersTableViewController>(f.screen("GroupMembers"));
        auto group = Group::initWithJSON(tourOf("5"));
        screen->group = group;
        f.show(screen);
        if (c.removal) f.app.t.http().queueJSONForAction(307, *c.removal);
        f.app.t.http().queueJSONForAction(309, tourOf("5", {"5", "7"})["Members"]);
        ASSERT_TRUE(f.driver.deleteRow("membersTableView", 1));
        f.app.t.settle();
        EXPECT_EQ(f.app.sent(309), c.removal && (*c.removal)["code"] == 0 ? 1u : 0u);
        EXPECT_EQ(f.driver.rows("membersTableView"), c.rows);
        // The details see the same list.
        EXPECT_EQ(group->members->size(), c.rows.size());
        EXPECT_FALSE(f.driver.alert());
        EXPECT_FALSE(f.app.t.logged("not yours"));
    }
}

TEST(MembersAlone, TheContactsWhoAreNotMembersGoToTheInvitationScreen) {
    struct Case {
        const char* name;
        std::optional<json> contacts;
        Rows invitable;
    };
    const Case cases[] = {
        {"members left out, order kept", contactsOf({"9", "6", "8", "7"}), {"User 9", "User 8"}},
        {"all members already", contactsOf({"6", "7"}), {}},
        {"contacts not loadable", std::nullopt, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        if (c.contacts) f.app.t.http().queueJSONForAction(501, *c.contacts);
        auto screen = std::dynamic_pointer_cast<GroupMembersTableViewController>(f.screen("GroupMembers"));
        screen->group = Group::initWithJSON(tourOf("6"));
        f.show(screen);
        EXPECT_EQ(f.app.sent(501), 1u);
        EXPECT_EQ(screen->selectableContacts.has_value(), c.contacts.has_value());
        ASSERT_TRUE(f.driver.tap("addMembers"));
        f.app.t.settle();
        auto* invite = dynamic_cast<AddUserToExitingGroupTableViewController*>(f.driver.frontmost());
        ASSERT_TRUE(invite);
        EXPECT_EQ(invite->group, screen->group);
        EXPECT_EQ(f.driver.rows("contactsTableView"), c.invitable);
    }
}

TEST(MembersAlone, TheDetailsOpenTheMembersOfTheirGroup) {
    GroupsFixture f;
    auto details = std::dynamic_pointer_cast<GroupDetailsViewController>(f.screen("GroupDetails"));
    details->group = Group::initWithJSON(tourOf("6"));
    f.show(details);
    ASSERT_TRUE(f.driver.tap("groupMembers"));
    f.app.t.settle();
    auto* members = dynamic_cast<GroupMembersTableViewController*>(f.driver.frontmost());
    ASSERT_TRUE(members);
    EXPECT_EQ(members->group, details->group);
    EXPECT_EQ(f.driver.rows("membersTableView").size(), 3u);
}

}  // namespace
}  // namespace kelpa::testing
