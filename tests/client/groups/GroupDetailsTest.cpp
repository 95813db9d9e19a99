// A group's details: its fields with dates shown as days, the join control decided by the
// joined group and the window, a join or leave that pops back on success only, the
// advertising control for the leader, and the group handed on to members and waypoints.
#include "GroupsFixture.h"

#include "client/bluetooth/MasterViewController.h"
#include "client/groups/GroupDetailsViewController.h"
#include "platform/ui/SegmentedControl.h"

namespace kelpa::testing {
namespace {

constexpr int kNone = platform::ui::SegmentedControl::noSegment;

// Tour (17) of Ann (5), Bob (6) and Cid (7); Bob leads unless Ann does.
json tour(bool annLeads = false, const std::string& start = "2026-03-01T18:30:00",
          const std::string& end = "2026-03-04T07:15:00") {
    return GroupsFixture::group("17", "Tour",
                                json::array({GroupsFixture::member("5", annLeads), GroupsFixture::member("6", !annLeads),
                                             GroupsFixture::member("7", false)}),
                                start, end);
}

std::shared_ptr<GroupDetailsViewController> detailsOf(GroupsFixture& f) {
    return std::dynamic_pointer_cast<GroupDetailsViewController>(f.screen("GroupDetails"));
}

struct GroupDetails : ::testing::Test {
    void open(std::shared_ptr<Group> group) {
        details->group = std::move(group);
        f.show(details);
    }
    std::shared_ptr<platform::ui::SegmentedControl> segment(const char* name) {
        return f.driver.find<platform::ui::SegmentedControl>(name);
    }
    std::shared_ptr<ScanProbe> scan() {
        auto probe = std::make_shared<ScanProbe>();
        probe->start();
        f.app.t.loop().runFor(std::chrono::seconds(2));
        return probe;
    }

    GroupsFixture f;
    std::shared_ptr<GroupDetailsViewController> details = detailsOf(f);
};

TEST_F(GroupDetails, ShowsTheFieldsWithDaysOnly) {
    json with = tour();
    with["Waypoints"] = json::array({{{"waypointID", "w1"}, {"lati", 48.0}, {"longi", 11.0}, {"number", 0}}});
    open(Group::initWithJSON(with));
    EXPECT_EQ(f.driver.text("groupID"), "17");
    EXPECT_EQ(f.driver.text("groupDescription"), "Tour");
    EXPECT_EQ(f.driver.text("groupType"), "Bike");
    // Late and early hours on purpose: a time of day or a zone shift would show.
    EXPECT_EQ(f.driver.text("groupCreated"), "Feb 20, 2026");
    EXPECT_EQ(f.driver.text("groupStart"), "Mar 1, 2026");
    EXPECT_EQ(f.driver.text("groupEnd"), "Mar 4, 2026");
    EXPECT_EQ(f.driver.text("groupMembers"), "3");
    EXPECT_EQ(f.driver.text("groupWaypoints"), "1");
}

TEST(GroupDetailsCases, TheJoinControlFollowsTheJoinedGroupAndTheWindow) {
    struct Case {
        const char* name;
        const char* joined;  // "this", "other" or none
        const char* start;
        const char* end;
        bool enabled;
        int selected;
    };
    const Case cases[] = {
        {"joined to this, window closed", "this", "2026-01-01T00:00:00", "2026-01-02T00:00:00", true, 0},
        {"joined to another, window open", "other", "2026-03-01T00:00:00", "2026-03-03T00:00:00", false, kNone},
        {"none joined, window open", nullptr, "2026-03-01T00:00:00", "2026-03-03T00:00:00", true, 1},
        {"none joined, window open to the second", nullptr, "2026-03-02T09:00:00", "2026-03-02T09:00:00", true, 1},
        {"none joined, window over", nullptr, "2026-02-01T00:00:00", "2026-03-02T08:59:59", false, kNone},
        {"none joined, window to come", nullptr, "2026-03-02T09:00:01", "2026-03-09T00:00:00", false, kNone},
        {"none joined, no window", nullptr, "", "", false, kNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture fresh;
        auto screen = detailsOf(fresh);
        auto group = Group::initWithJSON(tour(false, c.start, c.end));
        if (c.joined) {
            Group::setJoinedGroup(std::string(c.joined) == "this" ? Group::initWithJSON(tour())
                                                                  : Group::initWithJSON(GroupsFixture::group("18", "Ride")));
        }
        screen->group = group;
        fresh.show(screen);
        EXPECT_EQ(screen->joinSegment->isEnabled(), c.enabled);
        EXPECT_EQ(screen->joinSegment->selectedSegmentIndex(), c.selected);
    }
}

TEST_F(GroupDetails, ADisabledJoinControlIsNeverEnabledAgain) {
    Group::setJoinedGroup(Group::initWithJSON(GroupsFixture::group("18", "Ride")));
    open(Group::initWithJSON(tour()));
    EXPECT_FALSE(f.driver.isEnabled("joinSegment"));
    // The other group is left elsewhere; on coming back the window is open, yet the control stays off.
    Group::setJoinedGroup(nullptr);
    ASSERT_TRUE(f.driver.tap("groupMembers"));
    f.app.t.settle();
    ASSERT_TRUE(f.driver.goBack());
    f.app.t.settle();
    EXPECT_EQ(f.driver.frontmostClass(), "GroupDetailsViewController");
    EXPECT_FALSE(f.driver.isEnabled("joinSegment"));
    EXPECT_EQ(details->joinSegment->selectedSegmentIndex(), 1);
}

TEST(GroupDetailsCases, AJoinOrLeavePopsBackOnSuccessOnly) {
    struct Case {
        const char* name;
        bool joinedBefore;
        int tapped;
        int action;
        std::optional<json> reply;
        bool popped;
    };
    const json refused{{"code", 1}, {"info", "window closed"}};
    const Case cases[] = {
        {"join", false, 0, 305, json{{"code", 0}}, true},
        {"join refused", false, 0, 305, refused, false},
        {"join unanswered", false, 0, 305, std::nullopt, false},
        {"leave", true, 1, 308, json{{"code", 0}}, true},
        {"leave refused", true, 1, 308, refused, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture fresh;
        auto screen = detailsOf(fresh);
        screen->group = Group::initWithJSON(tour());
        if (c.joinedBefore) Group::setJoinedGroup(screen->group);
        fresh.show(screen);
        if (c.reply) fresh.app.t.http().queueJSONForAction(c.action, *c.reply);
        EXPECT_TRUE(fresh.driver.selectSegment("joinSegment", c.tapped));
        fresh.app.t.settle();
        EXPECT_EQ(fresh.app.sent(c.action), 1u);
        EXPECT_EQ(fresh.app.field(c.action, "groupID"), "17");
        EXPECT_FALSE(fresh.driver.alert());
        if (c.popped) {
            EXPECT_EQ(fresh.stack(), (std::vector<std::string>{"TabPlaceholderViewController"}));
            EXPECT_FALSE(fresh.navigation->lastTransitionOfStackAnimated());
        } else {
            EXPECT_EQ(fresh.driver.frontmostClass(), "GroupDetailsViewController");
            EXPECT_EQ(screen->joinSegment->selectedSegmentIndex(), c.tapped);  // the user's choice stays
        }
    }
}

TEST(GroupDetailsCases, TheAdvertisingControlIsTheLeadersOnly) {
    struct Case {
        const char* name;
        bool annLeads;
        const char* advertised;  // "this", "other" or none
        bool shown;
        int selected;
    };
    const Case cases[] = {
        {"member", false, "this", false, kNone},
        {"leader, this advertised", true, "this", true, 0},
        {"leader, another advertised", true, "other", true, 1},
        {"leader, none advertised", true, nullptr, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture fresh;
        auto screen = detailsOf(fresh);
        screen->group = Group::initWithJSON(tour(c.annLeads));
        if (c.advertised) {
            MasterViewController::setGroupToAdvertise(std::string(c.advertised) == "this"
                                                          ? Group::initWithJSON(tour())
                                                          : Group::initWithJSON(GroupsFixture::group("18", "Ride")));
        }
        fresh.show(screen);
        EXPECT_EQ(fresh.driver.isVisible("bluetoothSegment"), c.shown);
        EXPECT_EQ(!screen->bluetoothView->isHidden(), c.shown);
        if (c.shown) {
            EXPECT_EQ(screen->bluetoothSegment->selectedSegmentIndex(), c.selected);
        }
    }
}

TEST_F(GroupDetails, SwitchingAdvertisingOnRestartsItWithThisGroupAndOffStopsIt) {
    auto group = Group::initWithJSON(tour(true));
    open(group);
    // This screen was advertising another group when the leader switches to this one.
    MasterViewController::setGroupToAdvertise(Group::initWithJSON(GroupsFixture::group("18", "Ride")));
    details->startAdvertising();
    f.app.t.settle();
    ASSERT_EQ(scan()->names, (std::vector<std::string>{"18"}));

    EXPECT_TRUE(f.driver.selectSegment("bluetoothSegment", 0));
    f.app.t.settle();
    EXPECT_EQ(MasterViewController::getGroupToAdvertise(), group);
    EXPECT_EQ(scan()->names, (std::vector<std::string>{"17"}));

    EXPECT_TRUE(f.driver.selectSegment("bluetoothSegment", 1));
    f.app.t.settle();
    EXPECT_FALSE(MasterViewController::getGroupToAdvertise());
    EXPECT_TRUE(scan()->names.empty());
}


}  // namespace
}  // namespace kelpa::testing
