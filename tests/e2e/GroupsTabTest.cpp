// Three installations of the application, without a renderer, against the real kelpa-server on
// loopback and one simulated radio, every step on the groups tab through the screens: Ann plans
// a group through the whole wizard and invites Bob, whom she finds nearby while his phone shows
// him; Bob joins it while it is open; Cleo joins by its two words; Ann removes Cleo from the
// members; Bob leaves.
#include "FakeNominatim.h"
#include "HeadlessApp.h"

#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "platform/CurlHttpClient.h"
#include "platform/MainQueue.h"
#include "platform/location/NominatimGeocoder.h"
#include "platform/maps/MapDriver.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewController.h"
#include "tests/server/Installation.h"
#include "tests/server/TripFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace kelpa::e2e {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

class GroupsTab : public server::testing::ServerFixture {
protected:
    std::unique_ptr<HeadlessApp> app(const std::string& name) {
        auto instance = std::make_unique<HeadlessApp>(std::filesystem::path(database->directory()) / name,
                                                      "http://127.0.0.1:" + std::to_string(server->port()), radio);
        instance->inside([&] {
            instance->env()->geocoding = std::make_shared<platform::NominatimGeocoder>(
                nominatim.url(), std::make_shared<platform::CurlHttpClient>());
        });
        return instance;
    }

    // Runs `work` with the instance's driver, as that instance.
    template <class Work>
    auto act(HeadlessApp& who, Work&& work) {
        return who.inside([&] { return work(who.driver()); });
    }
    // Signed up through the service, then launched: signed in at start, on the groups tab.
    std::unique_ptr<HeadlessApp> onGroupsTab(const std::string& name, const std::string& number) {
        auto who = app(name);
        EXPECT_TRUE(who->signUp(name, number));
        who->launch();
        EXPECT_TRUE(waitScreen(*who, "MapViewController"));
        act(*who, [](platform::ui::Driver& d) { EXPECT_TRUE(d.pickTab(1)); });
        EXPECT_TRUE(waitScreen(*who, "GroupsTableViewController"));
        apps.push_back(who.get());
        return who;
    }

    bool until(const std::function<bool()>& condition) { return HeadlessApp::runUntil(apps, condition); }
    bool waitScreen(HeadlessApp& who, const std::string& screen) {
        std::vector<HeadlessApp*> running = apps;
        if (std::find(running.begin(), running.end(), &who) == running.end()) running.push_back(&who);
        return HeadlessApp::runUntil(running, [&] {
            return act(who, [&](platform::ui::Driver& d) { return d.frontmostClass() == screen && !d.alert(); });
        });
    }
    bool waitAlert(HeadlessApp& who) {
        return until([&] { return act(who, [](platform::ui::Driver& d) { return d.alert() != nullptr; }); });
    }
    std::vector<std::string> rows(HeadlessApp& who, const std::string& table) {
        return act(who, [&](platform::ui::Driver& d) { return d.rows(table); });
    }
    ::testing::AssertionResult waitRows(HeadlessApp& who, const std::string& table,
                                        const std::vector<std::string>& expected) {
        if (until([&] { return rows(who, table) == expected; })) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << table << " shows:";
        for (const auto& row : rows(who, table)) failure << " [" << row << "]";
        return failure;
    }
    // The row of a table whose title is `title` (rows read "title" or "title | detail").
    int rowOf(HeadlessApp& who, const std::string& table, const std::string& title) {
        const auto all = rows(who, table);
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == title || all[i].rfind(title + " ", 0) == 0) return static_cast<int>(i);
        }
        ADD_FAILURE() << title << " is not a row of " << table;
        return -1;
    }

    // Requests to the service as the instance's signed-in user from its own device.
    server::testing::Installation asUser(HeadlessApp& who) {
        const auto [userID, deviceID] = who.inside([] {
            return std::pair{User::getCurrentUser()->userID.value_or(""), Functions::getUUID()};
        });
        server::testing::Installation installation(server->port(), deviceID);
        installation.setUserId(userID);
        return installation;
    }

    // The service's members of a group as "name" or "name | joined", sorted, asked as `who`
    // from its own device.
    std::vector<std::string> serviceMembers(HeadlessApp& who, const std::string& groupID) {
        const auto reply = asUser(who).call(309, {{"groupID", groupID}});
        std::vector<std::string> names;
        if (!reply.is_array()) {
            ADD_FAILURE() << reply.dump();
            return names;
        }
        for (const auto& member : reply) {
            auto name = member.at("User").value("displayName", std::string());
            names.push_back(member.contains("joined") ? name + " | joined" : name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The segment the details' join control shows selected.
    static std::string joinShown(platform::ui::Driver& d) {
        auto control = d.find<platform::ui::SegmentedControl>("joinSegment");
        const int index = control ? control->selectedSegmentIndex() : -1;
        return index >= 0 ? control->segments().at(static_cast<std::size_t>(index)) : "(none)";
    }

    testing::FakeNominatim nominatim;
    std::shared_ptr<platform::SimulatedRadio> radio = std::make_shared<platform::SimulatedRadio>();
    std::vector<HeadlessApp*> apps;
};

TEST_P(GroupsTab, PlannedGroupNearbyInviteJoinQuickJoinRemovalAndLeaving) {
    using platform::ui::Driver;
    nominatim.place("Marienplatz, München", 48.1373932, 11.5754485);
    nominatim.place("Chinesischer Turm, München", 48.1527, 11.5920);
    auto ann = onGroupsTab("Ann", "+491703330001");
    auto bob = onGroupsTab("Bob", "+491703330002");
    auto cleo = onGroupsTab("Cleo", "+491703330003");
    for (auto* who : apps) EXPECT_TRUE(rows(*who, "groupsTableView").empty());

    // Bob lets a group's creator find him nearby.
    act(*bob, [](Driver& d) { EXPECT_TRUE(d.tap("newGroup")); });
    ASSERT_TRUE(waitScreen(*bob, "NewGroupMenuViewController"));
    act(*bob, [](Driver& d) { EXPECT_TRUE(d.tap("beFound")); });
    ASSERT_TRUE(waitScreen(*bob, "PeripheralViewController"));
    ASSERT_TRUE(until([&] { return bob->logged("BL on"); }));

    // Ann, step 1: a description, by bike, looking for people nearby.
    act(*ann, [](Driver& d) { EXPECT_TRUE(d.tap("newGroup")); });
    ASSERT_TRUE(waitScreen(*ann, "NewGroupMenuViewController"));
    act(*ann, [](Driver& d) { EXPECT_TRUE(d.tap("plannedGroup")); });
    ASSERT_TRUE(waitScreen(*ann, "AddDetailsToGroupViewController"));
    act(*ann, [](Driver& d) {
        EXPECT_TRUE(d.type("groupTitle", "Isar ride"));
        EXPECT_TRUE(d.pickRow("type", 1));
        EXPECT_TRUE(d.tap("bluetooth"));
        EXPECT_EQ(d.text("bluetooth"), "X");
        EXPECT_TRUE(d.tap("next"));
    });

    // Step 2: Bob is no contact of hers; he comes from nearby, and she ticks him.
    ASSERT_TRUE(waitScreen(*ann, "AddContactsToGroupViewController"));
    ASSERT_TRUE(waitRows(*ann, "contactsTableView", {"Bob"}));
    act(*ann, [](Driver& d) {
        EXPECT_TRUE(d.tapRow("contactsTableView", 0));
        EXPECT_EQ(d.rows("contactsTableView"), (std::vector<std::string>{"Bob ✓"}));
        EXPECT_TRUE(d.tap("next"));
    });

    // Step 3: open from a few minutes ago for three hours.
    ASSERT_TRUE(waitScreen(*ann, "AddStartEndViewController"));
    const auto now = ann->inside([] { return platform::Environment::current()->mainQueue->now(); });
    act(*ann, [&](Driver& d) {
        EXPECT_TRUE(d.pickDate("start", now - 5min));
        EXPECT_TRUE(d.pickDate("end", now + 3h));
        EXPECT_TRUE(d.tap("next"));
    });

    // Step 4: two places, geocoded on loopback, in the order typed.
    ASSERT_TRUE(waitScreen(*ann, "AddWaypointsFromAdressViewController"));
    act(*ann, [](Driver& d) {
        EXPECT_TRUE(d.type("adress", "Marienplatz, München"));
        EXPECT_TRUE(d.tap("addButton"));
    });
    ASSERT_TRUE(waitRows(*ann, "waypointsTableView", {"48.137393 - 11.575449"}));
    act(*ann, [](Driver& d) {
        EXPECT_TRUE(d.type("adress", "Chinesischer Turm, München"));
        EXPECT_TRUE(d.tap("addButton"));
    });
    ASSERT_TRUE(waitRows(*ann, "waypointsTableView", {"48.137393 - 11.575449", "48.152700 - 11.592000"}));
    EXPECT_EQ(nominatim.queries(), (std::vector<std::string>{"Marienplatz, München", "Chinesischer Turm, München"}));
    act(*ann, [](Driver& d) { EXPECT_TRUE(d.tap("next")); });

    // Step 5: the pins, then the group and its two words, shown once.
    ASSERT_TRUE(waitScreen(*ann, "AddAnnotationsViewController"));
    ASSERT_TRUE(until([&] {
        return act(*ann, [](Driver& d) { return platform::MapDriver(d, "map").pins(); }) ==
               std::vector<std::string>{"0", "1"};
    }));
    act(*ann, [](Driver& d) { EXPECT_TRUE(d.tap("create")); });
    ASSERT_TRUE(waitAlert(*ann));
    std::string wordOne, wordTwo;
    act(*ann, [&](Driver& d) {
        std::istringstream(d.alertTitle().value_or("")) >> wordOne >> wordTwo;
        EXPECT_EQ(d.alertMessage(), "Keep the group secret in your mind! it will never appear again!");
        EXPECT_TRUE(d.chooseAlertAction("OK"));
    });
    ASSERT_FALSE(wordOne.empty());
    ASSERT_FALSE(wordTwo.empty());
    ASSERT_TRUE(waitScreen(*ann, "GroupsTableViewController"));
    ASSERT_TRUE(waitRows(*ann, "groupsTableView", {"Isar ride"}));
    EXPECT_EQ(act(*ann, [](Driver& d) { return d.navigationStack(); }),
              (std::vector<std::string>{"GroupsTableViewController"}));

    // The group on the service: led by Ann, Bob invited, the waypoints in the order typed.
    const auto groupID = ann->inside([] {
        auto groups = User::getCurrentUser()->groups;
        return groups && groups->size() == 1 ? (*groups)[0]->groupID.value_or("") : std::string();
    });
    ASSERT_FALSE(groupID.empty());
    EXPECT_EQ(serviceMembers(*ann, groupID), (std::vector<std::string>{"Ann", "Bob"}));
    {
        auto installation = asUser(*ann);
        const auto waypoints = installation.call(401, {{"groupID", groupID}});
        ASSERT_EQ(waypoints.size(), 2u) << waypoints.dump();
        EXPECT_EQ(waypoints[0].at("number"), 0);
        EXPECT_NEAR(waypoints[0].at("lati").get<double>(), 48.1373932, 1e-6);
        EXPECT_NEAR(waypoints[1].at("lati").get<double>(), 48.1527, 1e-6);
        const auto groups = installation.call(301);
        ASSERT_EQ(groups.size(), 1u) << groups.dump();
        EXPECT_EQ(groups[0].at("groupType"), 2);
    }

    // Bob goes back to his list, finds the group there and joins it while it is open.
    act(*bob, [](Driver& d) { EXPECT_TRUE(d.goBack()); });
    ASSERT_TRUE(waitScreen(*bob, "NewGroupMenuViewController"));
    act(*bob, [](Driver& d) { EXPECT_TRUE(d.goBack()); });
    ASSERT_TRUE(waitScreen(*bob, "GroupsTableViewController"));
    ASSERT_TRUE(waitRows(*bob, "groupsTableView", {"Isar ride"}));
    act(*bob, [](Driver& d) { EXPECT_TRUE(d.tapRow("groupsTableView", 0)); });
    ASSERT_TRUE(waitScreen(*bob, "GroupDetailsViewController"));
    act(*bob, [](Driver& d) {
        EXPECT_EQ(d.text("groupDescription"), "Isar ride");
        EXPECT_EQ(d.text("groupType"), "Bike");
        EXPECT_TRUE(d.isEnabled("joinSegment"));
        EXPECT_EQ(joinShown(d), "Not joined");
        EXPECT_FALSE(d.isVisible("bluetoothView"));
        EXPECT_TRUE(d.selectSegment("joinSegment", 0));
    });
    ASSERT_TRUE(waitScreen(*bob, "GroupsTableViewController"));
    ASSERT_TRUE(waitRows(*bob, "groupsTableView", {"Isar ride | joined!"}));
    EXPECT_EQ(serviceMembers(*ann, groupID), (std::vector<std::string>{"Ann", "Bob | joined"}));

    // Cleo joins by the two words.
    act(*cleo, [](Driver& d) { EXPECT_TRUE(d.tap("newGroup")); });
    ASSERT_TRUE(waitScreen(*cleo, "NewGroupMenuViewController"));
    act(*cleo, [](Driver& d) { EXPECT_TRUE(d.tap("quickJoin")); });
    ASSERT_TRUE(waitScreen(*cleo, "QuickJoinViewController"));
    act(*cleo, [&](Driver& d) {
        EXPECT_TRUE(d.type("wordOne", wordOne));
        EXPECT_TRUE(d.type("wordTwo", wordTwo));
        EXPECT_TRUE(d.tap("join"));
    });
    ASSERT_TRUE(waitAlert(*cleo));
    act(*cleo, [](Driver& d) {
        EXPECT_EQ(d.alertTitle(), "success");
        EXPECT_TRUE(d.chooseAlertAction("OK"));
    });
    ASSERT_TRUE(waitScreen(*cleo, "GroupsTableViewController"));
    ASSERT_TRUE(waitRows(*cleo, "groupsTableView", {"Isar ride"}));
    EXPECT_EQ(serviceMembers(*ann, groupID), (std::vector<std::string>{"Ann", "Bob | joined", "Cleo"}));

    // Ann, the leader, removes Cleo from the members by swiping her row away.
    act(*ann, [](Driver& d) { EXPECT_TRUE(d.tapRow("groupsTableView", 0)); });
    ASSERT_TRUE(waitScreen(*ann, "GroupDetailsViewController"));
    act(*ann, [](Driver& d) {
        EXPECT_TRUE(d.isVisible("bluetoothView"));
        EXPECT_TRUE(d.tap("groupMembers"));
    });
    ASSERT_TRUE(waitScreen(*ann, "GroupMembersTableViewController"));
    // The screen shows the members the group came with; Cleo arrives with a pull.
    ASSERT_TRUE(until([&] { return rows(*ann, "membersTableView").size() == 2; }));
    act(*ann, [](Driver& d) { EXPECT_TRUE(d.pullToRefresh("membersTableView")); });
    ASSERT_TRUE(until([&] { return rows(*ann, "membersTableView").size() == 3; }));
    const int cleoRow = rowOf(*ann, "membersTableView", "Cleo");
    ASSERT_GE(cleoRow, 0);
    act(*ann, [&](Driver& d) { EXPECT_TRUE(d.deleteRow("membersTableView", cleoRow)); });
    ASSERT_TRUE(until([&] { return rows(*ann, "membersTableView").size() == 2; }));
    EXPECT_GE(rowOf(*ann, "membersTableView", "Bob | joined"), 0);
    EXPECT_GE(rowOf(*ann, "membersTableView", "Ann"), 0);
    EXPECT_EQ(serviceMembers(*ann, groupID), (std::vector<std::string>{"Ann", "Bob | joined"}));
    // Cleo's list no longer has the group once she pulls it anew.
    act(*cleo, [](Driver& d) { EXPECT_TRUE(d.pullToRefresh("groupsTableView")); });
    ASSERT_TRUE(waitRows(*cleo, "groupsTableView", {}));

    // Bob leaves on the group's details.
    act(*bob, [](Driver& d) { EXPECT_TRUE(d.tapRow("groupsTableView", 0)); });
    ASSERT_TRUE(waitScreen(*bob, "GroupDetailsViewController"));
    act(*bob, [](Driver& d) {
        EXPECT_EQ(joinShown(d), "Joined");
        EXPECT_TRUE(d.selectSegment("joinSegment", 1));
    });
    ASSERT_TRUE(waitScreen(*bob, "GroupsTableViewController"));
    ASSERT_TRUE(waitRows(*bob, "groupsTableView", {"Isar ride"}));
    EXPECT_EQ(serviceMembers(*ann, groupID), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_FALSE(bob->inside([] { return Group::getJoinedGroup() != nullptr; }));
}

INSTANTIATE_TEST_SUITE_P(Engines, GroupsTab, ::testing::Values("sqlite", "postgresql"), server::testing::engineName);

}  // namespace
}  // namespace kelpa::e2e
