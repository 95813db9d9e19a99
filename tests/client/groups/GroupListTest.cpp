// The group list: rows in the service's order with the joined group marked, filled from the
// cache and again from the load, reloaded after a removal and on a pull, and a row opening
// the group's details.
#include "GroupsFixture.h"

#include "client/groups/GroupDetailsViewController.h"
#include "client/groups/GroupsTableViewController.h"
#include "platform/ui/RefreshControl.h"

namespace kelpa::testing {
namespace {

struct GroupList : ::testing::Test {
    GroupList() { screen->setStoryboard(f.storyboard); }
    void open() { f.show(screen); }
    std::vector<std::string> rows() const { return f.driver.rows("groupsTableView"); }
    // Tour (17), Ride (18) and Hike (19) in that order; Ann is joined to the one named, if any.
    static json three(std::optional<std::string> joined = std::nullopt) {
        json list = json::array();
        for (const auto& [id, name] : {std::pair{"17", "Tour"}, {"18", "Ride"}, {"19", "Hike"}}) {
            const bool isJoined = joined && *joined == id;
            list.push_back(GroupsFixture::group(
                id, name,
                json::array({GroupsFixture::member("5", false, isJoined ? std::optional<std::string>("D5") : std::nullopt)})));
        }
        return list;
    }
    static json only(const std::string& id, const std::string& name) {
        return json::array({GroupsFixture::group(id, name, json::array({GroupsFixture::member("5", false)}))});
    }
    void reply(const json& groups) { f.app.t.http().queueJSONForAction(301, groups); }

    GroupsFixture f;
    std::shared_ptr<GroupsTableViewController> screen = std::make_shared<GroupsTableViewController>();
};

TEST_F(GroupList, MarksOnlyTheJoinedGroupAlsoInReusedCells) {
    struct Case {
        const char* name;
        std::optional<std::string> joined;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"joined to the second", "18", {"Tour", "Ride | joined!", "Hike"}},
        {"joined to the last", "19", {"Tour", "Ride", "Hike | joined!"}},
        {"joined to none", std::nullopt, {"Tour", "Ride", "Hike"}},
    };
    reply(three("17"));
    open();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Tour | joined!", "Ride", "Hike"}));
    // Each case is the next load of the same screen, so its cells are the reused ones.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reply(three(c.joined));
        screen->setupGroups();
        f.app.t.settle();
        EXPECT_EQ(rows(), c.rows);
    }
}

TEST(GroupListAlone, NoGroupsOrAFailedFirstLoadShowNoRows) {
    for (const std::optional<json>& answer : {std::optional<json>(json::array()), std::optional<json>()}) {
        GroupsFixture fresh;
        auto list = std::make_shared<GroupsTableViewController>();
        if (answer) fresh.app.t.http().queueJSONForAction(301, *answer);
        fresh.show(list);
        EXPECT_EQ(fresh.app.sent(301), 2u);  // once on loading, once on appearing
        EXPECT_TRUE(fresh.driver.rows("groupsTableView").empty());
        EXPECT_FALSE(fresh.app.t.logged("Unknown Error"));  // only a pull logs
    }
}

TEST_F(GroupList, FillsAtOnceFromTheCacheThenFromTheLoad) {
    auto me = User::getCurrentUser();
    me->groups = RecordList<Group>{Group::initWithJSON(GroupsFixture::group("9", "Cached"))};
    reply(three());
    f.navigation->pushViewController(screen, false);
    f.window->setRootViewController(f.navigation);
    // Before the load is back.
    EXPECT_EQ(rows(), (std::vector<std::string>{"Cached"}));
    f.app.t.settle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Tour", "Ride", "Hike"}));
    EXPECT_EQ(screen->groups, *me->groups);
}

TEST_F(GroupList, AFailedLoadLeavesTheRows) {
    reply(three());
    open();
    screen->setupGroups();  // no reply this time
    f.app.t.settle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Tour", "Ride", "Hike"}));
}

TEST_F(GroupList, ReloadsOnEveryAppearance) {
    reply(three());
    open();
    f.driver.tapRow("groupsTableView", 0);
    f.app.t.settle();
    reply(only("18", "Ride"));
    f.driver.goBack();
    f.app.t.settle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Ride"}));
}

TEST(GroupListAlone, ASwipeRemovesTheGroupAndReloadsWhateverTheResult) {
    struct Case {
        const char* name;
        std::optional<json> removal;
        bool leader;
        int action;  // a leader deletes the group, a member leaves it
    };
    const Case cases[] = {
        {"member leaves", json{{"code", 0}}, false, 302},
        {"leader deletes", json{{"code", 0}}, true, 303},
        {"refused", json{{"code", 1}, {"info", "no"}}, false, 302},
        {"no reply", std::nullopt, false, 302},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture fresh;
        auto list = std::make_shared<GroupsTableViewController>();
        fresh.app.t.http().queueJSONForAction(
            301, json::array({GroupsFixture::group("17", "Tour", json::array({GroupsFixture::member("5", c.leader)})),
                              GroupsFixture::group("18", "Ride")}));
        const json ride = json::array({GroupsFixture::group("18", "Ride")});
        fresh.show(list);
        ASSERT_EQ(fresh.driver.rows("groupsTableView").size(), 2u);
        if (c.removal) fresh.app.t.http().queueJSONForAction(c.action, *c.removal);
        // A successful removal reloads the cached list too; both loads get the same answer.
        for (int i = 0; i < 2; ++i) fresh.app.t.http().queueJSONForAction(301, ride);
        const auto loadsBefore = fresh.app.sent(301);
        EXPECT_TRUE(fresh.driver.deleteRow("groupsTableView", 0));
        // No confirmation: the row stays until the reload is back.
        EXPECT_EQ(fresh.driver.rows("groupsTableView").size(), 2u);
        EXPECT_FALSE(fresh.driver.alert());
        fresh.app.t.settle();
        EXPECT_EQ(fresh.app.sent(c.action), 1u);
        EXPECT_EQ(fresh.app.field(c.action, "groupID"), "17");
        EXPECT_GT(fresh.app.sent(301), loadsBefore);
        EXPECT_EQ(fresh.driver.rows("groupsTableView"), (std::vector<std::string>{"Ride"}));
        EXPECT_FALSE(fresh.driver.alert());
    }
}

TEST_F(GroupList, APullReloadsEndsTheControlAndLogsAFailure) {
    reply(three());
    open();
    auto refresh = screen->groupsTableView->refreshControl();
    ASSERT_TRUE(refresh);

    reply(only("18", "Ride"));
    EXPECT_TRUE(f.driver.pullToRefresh("groupsTableView"));
    f.app.t.settle();
    EXPECT_FALSE(refresh->isRefreshing());
    EXPECT_EQ(rows(), (std::vector<std::string>{"Ride"}));
    EXPECT_FALSE(f.app.t.logged("Unknown Error"));

    // The cache answers at once, and the failed load is logged and changes nothing.
    User::getCurrentUser()->groups.reset();
    EXPECT_TRUE(f.driver.pullToRefresh("groupsTableView"));
    EXPECT_TRUE(refresh->isRefreshing());
    f.app.t.settle();
    EXPECT_FALSE(refresh->isRefreshing());
    EXPECT_TRUE(f.app.t.logged("Unknown Error"));
    EXPECT_EQ(rows(), (std::vector<std::string>{"Ride"}));
}

TEST_F(GroupList, ARowOpensThatGroupsDetails) {
    reply(three());
    open();
    EXPECT_TRUE(f.driver.tapRow("groupsTableView", 1));
    f.app.t.settle();
    auto* details = dynamic_cast<GroupDetailsViewController*>(f.driver.frontmost());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->group, screen->groups.at(1));
    EXPECT_TRUE(f.navigation->lastTransitionOfStackAnimated());
    EXPECT_EQ(f.driver.text("groupDescription"), "Ride");
}

TEST_F(GroupList, TheButtonOpensTheNewGroupMenu) {
    reply(three());
    open();
    EXPECT_TRUE(f.driver.tap("newGroup"));
    EXPECT_EQ(f.driver.frontmostClass(), "NewGroupMenuViewController");
}

}  // namespace
}  // namespace kelpa::testing
