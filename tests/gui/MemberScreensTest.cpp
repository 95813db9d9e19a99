// The real app's member pages against the real service: a group's members with a second
// member joined, the leader removing them, inviting contacts who are not members, and the
// groups found nearby with one advertised on the simulated radio, asking to join it.
#include "AppAgainstService.h"

#include "client/bluetooth/AdvertisedService.h"
#include "platform/HeadlessMainQueue.h"
#include "platform/bluetooth/SimulatedRadio.h"

#include <filesystem>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using e2e::KelpactlRun;

class MemberScreensTest : public AppAgainstService {
protected:
    // The row of a table whose text starts with `text`, as automation numbers rows.
    std::string rowOf(const std::string& table, const std::string& text) {
        const auto rows = run("rows " + table);
        int index = 0;
        std::size_t start = 0;
        while (start <= rows.size()) {
            const auto end = std::min(rows.find(" ; ", start), rows.size());
            if (rows.compare(start, text.size(), text) == 0) return std::to_string(index);
            start = end + 3;
            ++index;
        }
        ADD_FAILURE() << text << " not in " << rows;
        return "0";
    }
    std::vector<std::string> memberNames(const KelpactlRun& who, const std::string& groupID) {
        std::vector<std::string> names;
        const auto listed = ctl(who, {"members", groupID});
        for (const auto& member : listed.value("members", nlohmann::json::array())) {
            names.push_back(member.value("displayName", std::string()));
        }
        if (names.empty()) ADD_FAILURE() << listed.dump();
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(MemberScreensTest, MembersRemovalInvitationAndGroupsNearby) {
    KelpactlRun me(root / "installation", serviceURL);
    KelpactlRun ann(fs::path(database.directory()) / "ann", serviceURL);
    KelpactlRun ben(fs::path(database.directory()) / "ben", serviceURL);
    KelpactlRun cem(fs::path(database.directory()) / "cem", serviceURL);
    signUp(me, "me@example.org", "Mia", "+49 170 5550101", "1705550101");
    const auto annID = signUp(ann, "ann@example.org", "Ann", "+49 170 5550102", "1705550102");
    const auto benID = signUp(ben, "ben@example.org", "Ben", "+49 170 5550103", "1705550103");
    const auto cemID = signUp(cem, "cem@example.org", "Cem", "+49 170 5550104", "1705550104");
    const auto convoyID = ctl(me, {"group", "create", "--description", "Isar convoy", "--mode", "car", "--start", "now",
                                   "--end", "+6h"})
                              .value("groupID", std::string());
    ASSERT_FALSE(convoyID.empty());
    ctl(me, {"invite", convoyID, annID});
    ctl(ann, {"join", convoyID});
    for (const auto& contact : {annID, benID, cemID}) ctl(me, {"contact", "add", contact});
    const auto walkID = ctl(ben, {"group", "create", "--description", "Lake walk", "--mode", "pedestrian", "--start",
                                  "now", "--end", "+3h"})
                            .value("groupID", std::string());
    ASSERT_FALSE(walkID.empty());

    // Ben's phone nearby; it advertises his group, as a leader's phone does, once the app looks.
    const auto radioDir = root / "radio";
    platform::SimulatedRadio radio(radioDir);
    auto radioQueue = std::make_shared<platform::HeadlessMainQueue>();
    const auto client = radio.connect(radioQueue, [](platform::ManagerState) {});

    auto environment = appEnvironment("http://127.0.0.1:9/{z}/{x}/{y}.png", "http://127.0.0.1:9");
    environment["KELPA_RADIO_DIR"] = radioDir.string();
    app.start({"--service", serviceURL, "--simulated-radio", "--screenshot-dir", shots.string()}, environment);
    run("wait-screen MapViewController 30");
    run("tab 1");
    run("wait-screen GroupsTableViewController");
    run("wait-rows groupsTableView 1 30");
    run("tap-row groupsTableView 0");
    run("wait-screen GroupDetailsViewController");
    run("tap groupMembers");

    // The members: Ann shares, Mia leads.
    run("wait-screen GroupMembersTableViewController");
    run("wait-rows membersTableView 2 30");
    const auto rows = run("rows membersTableView");
    EXPECT_NE(rows.find("Ann | joined"), std::string::npos) << rows;
    EXPECT_NE(rows.find("Mia"), std::string::npos) << rows;
    run("settle");
    screenshot("30-group-members");

    // The leader removes Ann; the list is fetched anew.
    run("delete-row membersTableView " + rowOf("membersTableView", "Ann"));
    run("wait-rows membersTableView 1 30");
    EXPECT_EQ(run("rows membersTableView"), "Mia");
    EXPECT_EQ(memberNames(me, convoyID), (std::vector<std::string>{"Mia"}));
    screenshot("31-member-removed");

    // Ann was a member when the screen opened, so Ben and Cem are offered.
    run("tap addMembers");
    run("wait-screen AddUserToExitingGroupTableViewController");
    run("wait-rows contactsTableView 2 30");
    run("tap-row contactsTableView " + rowOf("contactsTableView", "Cem"));
    EXPECT_NE(run("rows contactsTableView").find("Cem \u2713"), std::string::npos);
    run("settle");
    screenshot("32-invite-contacts");
    run("tap finishAdding");
    run("wait-screen GroupMembersTableViewController");
    run("pull membersTableView");
    run("wait-rows membersTableView 2 30");
    EXPECT_EQ(memberNames(me, convoyID), (std::vector<std::string>{"Cem", "Mia"}));

    // Ben's group nearby; asking to join goes back to the list.
    run("back");
    run("wait-screen GroupDetailsViewController");
    run("back");
    run("wait-screen GroupsTableViewController");
    run("tap newGroup");
    run("wait-screen NewGroupMenuViewController");
    run("tap scanGroups");
    run("wait-screen ScanForBluetoothGroupsViewController");
    run("settle");
    EXPECT_EQ(run("visible scanStatus"), "yes");
    screenshot("33-looking-for-groups");
    radio.startAdvertising(client,
                           {{platform::BluetoothUUID::UUIDWithString(AdvertisedService::kServiceUUID)}, walkID},
                           [](std::optional<std::string>) {});
    run("wait-rows groupsTableView 1 30");
    EXPECT_EQ(run("visible scanStatus"), "no");
    EXPECT_EQ(run("rows groupsTableView"), "Lake walk");
    run("settle");
    screenshot("34-groups-nearby");
    run("tap-row groupsTableView 0");
    run("wait-screen GroupsTableViewController 30");
    EXPECT_EQ(run("stack"), "GroupsTableViewController");

    radio.stopAdvertising(client);
    radio.disconnect(client);
    quitCleanly();
}

}  // namespace
}  // namespace kelpa::testing
