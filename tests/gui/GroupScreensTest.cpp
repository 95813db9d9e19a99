// The real app's group pages against the real service: the list with the joined group marked,
// a group's details for its leader, the new-group menu making an ad hoc group and showing its
// words, and joining another person's group by its words.
#include "AppAgainstService.h"

#include <filesystem>
#include <fstream>
#include <regex>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using e2e::KelpactlRun;

class GroupScreensTest : public AppAgainstService {};

TEST_F(GroupScreensTest, ListDetailsAdhocGroupAndQuickJoin) {
    KelpactlRun me(root / "installation", serviceURL);
    KelpactlRun ann(fs::path(database.directory()) / "ann", serviceURL);
    signUp(me, "me@example.org", "Mia", "+49 170 5550101", "1705550101");
    signUp(ann, "ann@example.org", "Ann", "+49 170 5550102", "1705550102");
    const auto convoy = ctl(me, {"group", "create", "--description", "Isar convoy", "--mode", "car", "--start", "now",
                                 "--end", "+6h", "--waypoint", "48.1500,11.5800"});
    ctl(me, {"group", "create", "--description", "Alps ride", "--mode", "bike", "--start", "+1h", "--end", "+30h"});
    ctl(me, {"join", convoy.value("groupID", std::string())});
    const auto walk = ctl(ann, {"group", "create", "--description", "Lake walk", "--mode", "pedestrian", "--start",
                                "now", "--end", "+3h"});
    const auto wordOne = walk.value("wordOne", std::string());
    const auto wordTwo = walk.value("wordTwo", std::string());
    ASSERT_FALSE(wordOne.empty());
    ASSERT_FALSE(wordTwo.empty());

    app.start({"--service", serviceURL, "--screenshot-dir", shots.string()},
              appEnvironment("http://127.0.0.1:9/{z}/{x}/{y}.png", "http://127.0.0.1:9"));
    run("wait-screen MapViewController 30");
    run("tab 1");
    run("wait-screen GroupsTableViewController");
    run("wait-rows groupsTableView 2 30");
    const auto rows = run("rows groupsTableView");
    EXPECT_NE(rows.find("Isar convoy | joined!"), std::string::npos) << rows;
    EXPECT_NE(rows.find("Alps ride"), std::string::npos) << rows;
    EXPECT_EQ(rows.find("Alps ride | joined!"), std::string::npos) << rows;
    screenshot("20-groups-list");

    // The joined group's details, seen by its leader.
    run("tap-row groupsTableView " + std::string(rows.find("Isar convoy") == 0 ? "0" : "1"));
    run("wait-screen GroupDetailsViewController");
    EXPECT_EQ(run("text groupDescription"), "Isar convoy");
    EXPECT_EQ(run("text groupType"), "Car");
    EXPECT_EQ(run("text groupWaypoints"), "1");
    EXPECT_EQ(run("enabled joinSegment"), "yes");
    EXPECT_EQ(run("visible bluetoothSegment"), "yes");
    screenshot("21-group-details");
    run("back");
    run("wait-screen GroupsTableViewController");

    // An ad hoc group, its words shown once.
    run("tap newGroup");
    run("wait-screen NewGroupMenuViewController");
    screenshot("22-new-group-menu");
    run("tap adhocGroup");
    run("wait-alert 30");
    const auto alert = run("alert");
    EXPECT_NE(alert.find("Keep the group secret in your mind! it will never appear again!"), std::string::npos) << alert;
    screenshot("23-adhoc-group-words");
    run("choose OK");
    run("wait-screen GroupsTableViewController");
    run("wait-rows groupsTableView 3 30");

    // Ann's group by its two words.
    run("tap newGroup");
    run("wait-screen NewGroupMenuViewController");
    run("tap quickJoin");
    run("wait-screen QuickJoinViewController");
    run("type wordOne " + wordOne);
    run("type wordTwo " + wordTwo);
    screenshot("24-quick-join");
    run("tap join");
    run("wait-alert 30");
    EXPECT_EQ(run("alert").rfind("success", 0), 0u);
    run("choose OK");
    run("wait-screen GroupsTableViewController");
    run("wait-rows groupsTableView 4 30");
    EXPECT_NE(run("rows groupsTableView").find("Lake walk"), std::string::npos);

    quitCleanly();
}

}  // namespace
}  // namespace kelpa::testing
