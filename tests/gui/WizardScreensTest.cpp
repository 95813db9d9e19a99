// The real app planning a group against the real service, its addresses placed by a loopback
// Nominatim-compatible geocoder and a nearby user found on the simulated radio: every step of
// the wizard, the words shown once, the new group in the list, with its invitations and its
// waypoints on the service.
#include "AppAgainstService.h"
#include "FakeNominatim.h"
#include "PresenceAdvertiser.h"
#include "TestEnvironment.h"

#include "platform/bluetooth/SimulatedRadio.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using e2e::KelpactlRun;

using Presence = PresenceAdvertiser;

class WizardScreensTest : public AppAgainstService {
protected:
    FakeNominatim nominatim;
};

TEST_F(WizardScreensTest, PlanningAGroupStepByStep) {
    KelpactlRun me(root / "installation", serviceURL);
    KelpactlRun ann(fs::path(database.directory()) / "ann", serviceURL);
    KelpactlRun ben(fs::path(database.directory()) / "ben", serviceURL);
    KelpactlRun cleo(fs::path(database.directory()) / "cleo", serviceURL);
    signUp(me, "me@example.org", "Mia", "+49 170 5550201", "1705550201");
    const auto annID = signUp(ann, "ann@example.org", "Ann", "+49 170 5550202", "1705550202");
    const auto benID = signUp(ben, "ben@example.org", "Ben", "+49 170 5550203", "1705550203");
    const auto cleoID = signUp(cleo, "cleo@example.org", "Cleo", "+49 170 5550204", "1705550204");
    ASSERT_FALSE(annID.empty());
    ctl(me, {"contact", "add", annID});
    ctl(me, {"contact", "add", benID});
    // Ben, a contact, and Cleo, who is not, are nearby.
    TestEnvironment nearby;
    nearby.env().bluetooth = std::make_shared<platform::SimulatedRadio>(root / "radio");
    auto benNearby = Presence::of(benID);
    auto cleoNearby = Presence::of(cleoID);
    nearby.settle();
    nominatim.place("Marienplatz, München", 48.1373932, 11.5754485);
    nominatim.place("Chinesischer Turm, München", 48.1527, 11.5920);

    auto environment = appEnvironment("", "http://127.0.0.1:9");
    environment["KELPA_GEOCODER_URL"] = nominatim.url();
    environment["KELPA_RADIO_DIR"] = (root / "radio").string();
    app.start({"--service", serviceURL, "--simulated-radio", "--screenshot-dir", shots.string()}, environment);
    run("wait-screen MapViewController 30");
    run("tab 1");
    run("wait-screen GroupsTableViewController");
    run("tap newGroup");
    run("wait-screen NewGroupMenuViewController");
    run("tap plannedGroup");

    // Step 1: no description is refused.
    run("wait-screen AddDetailsToGroupViewController");
    run("tap next");
    run("wait-alert");
    EXPECT_EQ(run("alert"), "Title! | :(");
    run("choose OK");
    run("wait-screen AddDetailsToGroupViewController");
    run("type groupTitle Beer garden");
    run("pick-row type 2");
    run("tap bluetooth");
    EXPECT_EQ(run("text bluetooth"), "X");
    screenshot("40-wizard-details");
    run("tap next");

    // Step 2: the contacts and, after them, Cleo from nearby; Ben only once. Ann and Cleo ticked.
    run("wait-screen AddContactsToGroupViewController");
    run("wait-rows contactsTableView 3 30");
    // Rows in the order their records came in: contacts and nearby users race.
    std::vector<std::string> people;
    for (std::stringstream rows(run("rows contactsTableView")); !rows.eof();) {
        std::string row;
        rows >> row;
        if (!row.empty() && row != ";") people.push_back(row);
    }
    auto at = [&](const std::string& name) {
        return std::to_string(std::find(people.begin(), people.end(), name) - people.begin());
    };
    std::vector<std::string> sorted = people;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(sorted, (std::vector<std::string>{"Ann", "Ben", "Cleo"}));
    run("tap-row contactsTableView " + at("Ann"));
    run("tap-row contactsTableView " + at("Cleo"));
    const auto ticked = run("rows contactsTableView");
    EXPECT_NE(ticked.find("Ann ✓"), std::string::npos) << ticked;
    EXPECT_NE(ticked.find("Cleo ✓"), std::string::npos) << ticked;
    EXPECT_EQ(ticked.find("Ben ✓"), std::string::npos) << ticked;
    screenshot("41-wizard-members");
    run("tap next");

    // Step 3: the window as the pickers offer it.
    run("wait-screen AddStartEndViewController");
    screenshot("42-wizard-start-end");
    run("tap next");

    // Step 4: two places and one the geocoder does not know.
    run("wait-screen AddWaypointsFromAdressViewController");
    run("type adress Marienplatz, München");
    run("tap addButton");
    run("wait-rows waypointsTableView 1 30");
    run("type adress Atlantis");
    run("tap addButton");
    run("type adress Chinesischer Turm, München");
    run("tap addButton");
    run("wait-rows waypointsTableView 2 30");
    const auto places = run("rows waypointsTableView");
    EXPECT_NE(places.find("48.137393 - 11.575449"), std::string::npos) << places;
    EXPECT_NE(places.find("48.152700 - 11.592000"), std::string::npos) << places;
    EXPECT_EQ(nominatim.queries().size(), 3u);
    screenshot("43-wizard-waypoints");
    run("tap next");

    // Step 5: the pins, then the group.
    run("wait-screen AddAnnotationsViewController");
    run("wait-pins map 2");
    EXPECT_EQ(run("pins map"), "0 ; 1");
    screenshot("44-wizard-map");
    run("tap create");
    run("wait-alert 30");
    const auto words = run("alert");
    EXPECT_NE(words.find(" | Keep the group secret in your mind! it will never appear again!"), std::string::npos)
        << words;
    screenshot("45-wizard-words");
    run("choose OK");
    run("wait-screen GroupsTableViewController");
    run("wait-rows groupsTableView 1 30");
    EXPECT_NE(run("rows groupsTableView").find("Beer garden"), std::string::npos);
    screenshot("46-wizard-new-group-listed");

    // The group on the service: pedestrian, Ann and Cleo invited, the two waypoints.
    const auto mine = ctl(me, {"groups"});
    ASSERT_EQ(mine["groups"].size(), 1u) << mine.dump();
    const auto group = mine["groups"][0];
    EXPECT_EQ(group.value("description", ""), "Beer garden");
    EXPECT_EQ(group.value("mode", ""), "pedestrian");
    const auto shown = ctl(me, {"group", "show", group.value("groupID", "")});
    ASSERT_EQ(shown["group"]["waypoints"].size(), 2u) << shown.dump();
    // Marienplatz was entered first, so it is waypoint 0.
    for (const auto& waypoint : shown["group"]["waypoints"]) {
        const bool first = waypoint.value("number", -1.0) == 0;
        EXPECT_NEAR(waypoint.value("latitude", 0.0), first ? 48.1373932 : 48.1527, 1e-6) << shown.dump();
    }
    const auto annGroups = ctl(ann, {"groups"});
    EXPECT_EQ(annGroups["groups"].size(), 1u) << annGroups.dump();
    EXPECT_EQ(ctl(cleo, {"groups"})["groups"].size(), 1u);
    EXPECT_EQ(ctl(ben, {"groups"})["groups"].size(), 0u);

    // The group's waypoints from its details, read-only.
    run("tap-row groupsTableView 0");
    run("wait-screen GroupDetailsViewController");
    run("tap groupWaypoints");
    run("wait-screen WaypointsMapViewController");
    run("wait-pins mapView 2");
    const auto pins = run("pins mapView");
    EXPECT_TRUE(pins == "0 ; 1" || pins == "1 ; 0") << pins;
    screenshot("47-waypoints-map");

    quitCleanly();
}

}  // namespace
}  // namespace kelpa::testing
