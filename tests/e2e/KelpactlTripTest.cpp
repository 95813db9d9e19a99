// A whole trip driven through kelpactl, as people would type it, against the real
// kelpa-server: on SQLite, and on PostgreSQL when a test database is configured.
#include "KelpactlRun.h"

#include "tests/server/Installation.h"
#include "tests/server/PushListener.h"
#include "tests/server/TripFixture.h"

#include <gmock/gmock.h>

#include <fstream>

namespace kelpa::e2e {
namespace {

using nlohmann::json;
using server::testing::Installation;
using server::testing::PushListener;
using ::testing::HasSubstr;

std::vector<std::string> values(const json& list, const std::string& key) {
    std::vector<std::string> out;
    for (const auto& item : list) out.push_back(item.at(key).is_null() ? "-" : item.at(key).get<std::string>());
    return out;
}

std::filesystem::path writeTrack(const std::filesystem::path& file, double lat, double lon) {
    std::ofstream(file) << R"(<?xml version="1.0"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>
<trkpt lat=")" << lat << R"(" lon=")" << lon << R"("><time>2026-03-02T08:00:00Z</time></trkpt>
<trkpt lat=")" << lat + 0.01 << R"(" lon=")" << lon + 0.01 << R"("><time>2026-03-02T08:00:05Z</time></trkpt>
</trkseg></trk></gpx>
)";
    return file;
}

class KelpactlTrip : public server::testing::ServerFixture {
protected:
    KelpactlRun installation(const std::string& name) {
        return KelpactlRun(std::filesystem::path(database->directory()) / name,
                           "http://127.0.0.1:" + std::to_string(server->port()));
    }

    static std::string registered(const KelpactlRun& who, const std::string& email, const std::string& name) {
        const auto result = who.json({"register", email, name, "--password-stdin"}, "secret " + name + "\n");
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.json().at("user").at("userID").get<std::string>();
    }
};

TEST_P(KelpactlTrip, ThreeTravellersFromRegistrationToLeaving) {
    const auto ann = installation("ann"), ben = installation("ben"), cy = installation("cy");
    const auto annID = registered(ann, "ann@example.org", "Ann");
    const auto benID = registered(ben, "ben@example.org", "Ben");
    const auto cyID = registered(cy, "cy@example.org", "Cy");

    // A second installation of Ann's signs in with the password; a wrong one is refused.
    const auto annPhone = installation("ann-phone");
    EXPECT_NE(annPhone.json({"login", "ann@example.org", "--password-stdin"}, "wrong\n").exitCode, 0);
    EXPECT_EQ(annPhone.json({"login", "ann@example.org", "--password-stdin"}, "secret Ann\n").json().at("user").at("userID"),
              annID);
    // The installation signs in again from its stored identifier on the next start.
    EXPECT_EQ(annPhone.json({"whoami"}).json().at("user").at("displayName"), "Ann");

    // Contacts.
    EXPECT_EQ(ann.json({"contact", "add", benID}).exitCode, 0);
    EXPECT_EQ(values(ann.json({"contacts"}).json().at("contacts"), "userID"), std::vector<std::string>{benID});

    // Ann plans a bike tour with two waypoints and invites Cy.
    const auto created = ann.json({"group", "create", "--description", "Alps & lakes", "--mode", "bike", "--start", "now",
                                   "--end", "+2h", "--invite", cyID, "--waypoint", "47.1,11.2", "47.3,11.5"});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    const auto groupID = created.json().at("groupID").get<std::string>();
    const auto wordOne = created.json().at("wordOne").get<std::string>();
    const auto wordTwo = created.json().at("wordTwo").get<std::string>();
    EXPECT_FALSE(wordOne.empty() || wordTwo.empty() || wordOne == wordTwo);

    const auto shown = ann.json({"group", "show", groupID}).json().at("group");
    EXPECT_EQ(shown.at("description"), "Alps & lakes");
    EXPECT_EQ(shown.at("mode"), "bike");
    ASSERT_EQ(shown.at("waypoints").size(), 2u);
    EXPECT_EQ(shown.at("waypoints")[0].at("number"), 1.0);
    EXPECT_EQ(shown.at("waypoints")[1].at("latitude"), 47.3);

    // Ben joins the group by its two secret words; a wrong pair is refused.
    EXPECT_NE(ben.json({"quickjoin", wordOne, wordOne + "x"}).exitCode, 0);
    EXPECT_EQ(ben.json({"quickjoin", wordOne, wordTwo}).exitCode, 0);
    EXPECT_THAT(values(ann.json({"members", groupID}).json().at("members"), "userID"),
                ::testing::UnorderedElementsAre(annID, benID, cyID));

    // Ann and Ben join and share their positions from tracks.
    EXPECT_EQ(ann.json({"join", groupID}).exitCode, 0);
    EXPECT_EQ(ben.json({"join", groupID}).exitCode, 0);
    const auto annShare = ann.text({"share", writeTrack(ann.home() / "track.gpx", 47.10, 11.20).string(), "--once"});
    EXPECT_EQ(annShare.exitCode, 0) << annShare.err;
    const auto benShare = ben.text({"share", writeTrack(ben.home() / "track.gpx", 46.50, 10.50).string(), "--once"});
    EXPECT_EQ(benShare.exitCode, 0) << benShare.err;
    EXPECT_THAT(benShare.out, HasSubstr("47.1"));  // Ben sees Ann's position

    const auto positions = ann.json({"positions", groupID}).json().at("positions");
    ASSERT_EQ(positions.size(), 2u);
    std::vector<std::pair<double, double>> coordinates;
    for (const auto& p : positions) coordinates.emplace_back(p.at("latitude"), p.at("longitude"));
    EXPECT_THAT(coordinates, ::testing::UnorderedElementsAre(std::make_pair(47.1, 11.2), std::make_pair(46.5, 10.5)));

    // Ben's phone listens for pushes; Ann's chat message reaches it and his chat.
    Installation benDevice(server->port(), ben.deviceID());
    benDevice.anonymous(106, {{"token", "beef02"}});
    PushListener benPushes(server->port(), ben.deviceID(), "beef02");
    EXPECT_EQ(ann.json({"chat", benID, "--send", "Meet at the pass & bring tea = 100%"}).exitCode, 0);
    EXPECT_TRUE(benPushes.waitFor([](const json& p) { return p.value("acme-action", 0) == 601; }));
    const auto chat = ben.json({"chat", annID}).json().at("messages");
    ASSERT_EQ(chat.size(), 1u);
    EXPECT_EQ(chat[0].at("text"), "Meet at the pass & bring tea = 100%");
    EXPECT_EQ(chat[0].at("fromUserID"), annID);

    // Ben leaves: he is still a member, no longer joined.
    EXPECT_EQ(ben.json({"leave", groupID}).exitCode, 0);
    const auto members = ann.json({"members", groupID}).json().at("members");
    for (const auto& m : members) {
        if (m.at("userID") == benID) {
            EXPECT_TRUE(m.at("joined").is_null());
        } else if (m.at("userID") == annID) {
            EXPECT_FALSE(m.at("joined").is_null());
        }
    }

    // Signing out forgets the user of this installation only.
    EXPECT_EQ(ben.json({"logout"}).exitCode, 0);
    const auto afterLogout = ben.text({"groups"});
    EXPECT_NE(afterLogout.exitCode, 0);
    EXPECT_THAT(afterLogout.err, HasSubstr("not signed in"));
    EXPECT_EQ(ann.json({"groups"}).exitCode, 0);
}

TEST_P(KelpactlTrip, RefusalsExitNonZeroWithTheServiceText) {
    const auto ann = installation("ann");
    registered(ann, "ann@example.org", "Ann");
    const auto again = installation("again");
    const auto duplicate = again.json({"register", "ann@example.org", "Other", "--password-stdin"}, "pw\n");
    EXPECT_NE(duplicate.exitCode, 0);
    EXPECT_EQ(duplicate.json().at("ok"), false);

    const auto strangerJoin = ann.text({"join", "999999"});
    EXPECT_NE(strangerJoin.exitCode, 0);
    EXPECT_FALSE(strangerJoin.err.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, KelpactlTrip, ::testing::Values("sqlite", "postgresql"),
                         server::testing::engineName);

}  // namespace
}  // namespace kelpa::e2e
