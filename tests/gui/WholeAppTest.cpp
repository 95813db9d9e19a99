// The whole application as a new person meets it, against the real service: signing up,
// the texted code, the profile, an ad hoc group whose words a friend (kelpactl) uses to join
// and share a track, the friend's pin on the live map, a chat with the friend found in the
// address book, and signing out, which leaves the group.
#include "AppAgainstService.h"

#include <filesystem>
#include <fstream>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using e2e::KelpactlRun;

std::string writeTrack(const fs::path& file, double lat, double lon) {
    std::ofstream out(file);
    out << "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"test\"><trk><trkseg>"
        << "<trkpt lat=\"" << lat << "\" lon=\"" << lon << "\"><time>2026-03-02T09:00:00Z</time></trkpt>"
        << "<trkpt lat=\"" << lat + 0.0002 << "\" lon=\"" << lon << "\"><time>2026-03-02T09:00:10Z</time></trkpt>"
        << "</trkseg></trk></gpx>";
    return file.string();
}

class WholeAppTest : public AppAgainstService {};

TEST_F(WholeAppTest, SignUpGroupFriendOnTheMapChatAndSignOut) {
    // Mia's address book holds her friend Ann.
    const auto book = root / "book.vcf";
    std::ofstream(book) << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Berg\r\nTEL;TYPE=CELL:0170 5550202\r\nEND:VCARD\r\n";
    app.start({"--service", serviceURL, "--track", writeTrack(root / "me.gpx", 48.1372, 11.5755), "--screenshot-dir",
               shots.string(), "--address-book", book.string()},
              appEnvironment("http://127.0.0.1:9/{z}/{x}/{y}.png", "http://127.0.0.1:9"));

    // A new person: the registration, then the texted code.
    run("wait-screen AuthViewController 30");
    screenshot("70-app-sign-in");
    run("tap registration");
    run("wait-screen RegistrationViewController");
    run("type displayName Mia Lund");
    run("type email mia@example.org");
    run("type password secret-mia");
    screenshot("71-app-registration");
    run("tap registrate");
    run("wait-screen PhoneVerificationViewController 30");
    run("type phoneNumber +49 170 5550201");
    run("tap sendVerificationCode");
    run("wait-enabled verifyButton 30");
    const auto code = lastCodeTo("1705550201");
    ASSERT_EQ(code.size(), 4u);
    run("type verificationCode " + code);
    screenshot("72-app-code");
    run("tap verifyButton");
    run("wait-screen ProfileSetupViewController 30");
    run("settle");
    screenshot("73-app-profile-setup");
    run("tap finish");
    run("wait-screen MapViewController 30");
    screenshot("74-app-map-no-group");

    // An ad hoc group; its words are shown once.
    run("tab 1");
    run("wait-screen GroupsTableViewController");
    run("tap newGroup");
    run("wait-screen NewGroupMenuViewController");
    run("tap adhocGroup");
    run("wait-alert 30");
    const auto alert = run("alert");
    const auto words = alert.substr(0, alert.find(" | "));
    const auto space = words.find(' ');
    ASSERT_NE(space, std::string::npos) << alert;
    screenshot("75-app-group-words");
    run("choose OK");
    run("wait-screen GroupsTableViewController");
    run("wait-rows groupsTableView 1 30");

    // A friend joins by the words and reports where they are.
    KelpactlRun ann(fs::path(database.directory()) / "ann", serviceURL);
    const auto annID = signUp(ann, "ann@example.org", "Ann", "+49 170 5550202", "1705550202");
    ASSERT_FALSE(annID.empty());
    ctl(ann, {"quickjoin", words.substr(0, space), words.substr(space + 1)});
    const auto groups = ctl(ann, {"groups"}).value("groups", nlohmann::json::array());
    ASSERT_EQ(groups.size(), 1u) << groups.dump();
    const auto groupID = groups[0].value("groupID", std::string());
    ctl(ann, {"share", writeTrack(root / "ann.gpx", 48.1400, 11.5700), "--group", groupID, "--once"});

    // Mia joins her group from its details and sees Ann on the live map.
    run("tap-row groupsTableView 0");
    run("wait-screen GroupDetailsViewController");
    run("segment joinSegment 0");
    run("wait-screen GroupsTableViewController 30");
    EXPECT_NE(run("rows groupsTableView").find("joined!"), std::string::npos);
    screenshot("76-app-group-joined");
    run("tab 0");
    run("wait-screen MapViewController");
    run("wait-pins map 1 30");
    EXPECT_NE(run("pins map").find("Ann"), std::string::npos);
    run("settle");
    screenshot("77-app-friend-on-map");

    // Ann is in Mia's contacts from her address book; they chat, Ann's answer coming by push.
    std::string miaID;
    for (const auto& member : ctl(ann, {"members", groupID}).value("members", nlohmann::json::array())) {
        if (member.value("displayName", "") == "Mia Lund") miaID = member.value("userID", "");
    }
    ASSERT_FALSE(miaID.empty());
    run("tab 2");
    run("wait-screen ContactsTableViewController");
    run("wait-rows contactsTableView 1 30");
    EXPECT_EQ(run("rows contactsTableView"), "Ann");
    ctl(ann, {"chat", miaID, "--send", "Are you coming?"});
    run("tap-row contactsTableView 0");
    run("wait-screen ChatViewController 30");
    run("wait-rows chatTableView 1 30");
    run("type textToSend Ten minutes");
    run("tap sendButton");
    ctl(ann, {"chat", miaID, "--send", "Great, see you"});
    run("wait-rows chatTableView 3 30");
    EXPECT_EQ(run("rows chatTableView").rfind(">> Great, see you", 0), 0u) << run("rows chatTableView");
    run("tap-outside");
    screenshot("78-app-chat");
    EXPECT_NE(ctl(ann, {"chat", miaID}).dump().find("Ten minutes"), std::string::npos);

    // Signing out from the profile leaves the group: Ann sees Mia no longer joined.
    run("tab 3");
    run("wait-screen ProfileViewController");
    EXPECT_EQ(run("text displayName"), "Mia Lund");
    run("settle");
    screenshot("79-app-profile");
    run("tap logout");
    run("wait-screen AuthViewController 30");
    screenshot("80-app-signed-out");
    bool miaJoined = true;
    for (int attempt = 0; attempt < 50 && miaJoined; ++attempt) {
        miaJoined = false;
        for (const auto& member : ctl(ann, {"members", groupID}).value("members", nlohmann::json::array())) {
            if (member.value("displayName", "") == "Mia Lund" && !member["joined"].is_null()) miaJoined = true;
        }
        if (miaJoined) run("settle");
    }
    EXPECT_FALSE(miaJoined);

    quitCleanly();
}

}  // namespace
}  // namespace kelpa::testing
