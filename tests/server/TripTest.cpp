// A whole trip through the real kelpa-server, with three installations speaking the
// client's wire format, on SQLite and on PostgreSQL.
#include <fstream>

#include <gmock/gmock.h>

#include "server/WallClock.h"
#include "tests/server/PushListener.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

const json kOk = {{"code", 0}};

bool isPush(const json& p, int reason) { return p.is_object() && p.value("acme-action", 0) == reason; }

std::vector<std::string> field(const json& list, const std::string& name) {
    std::vector<std::string> out;
    for (const auto& item : list) out.push_back(item.at(name).get<std::string>());
    return out;
}

class TripTest : public ServerFixture {};

TEST_P(TripTest, ThreeTravellersShareATrip) {
    Installation ann = install(), ben = install(), cid = install();

    // Accounts: two by e-mail, one through a social network.
    ASSERT_FALSE(ann.registerEmail("ann@example.org", "Ann").empty());
    ASSERT_FALSE(ben.registerEmail("ben@example.org", "Ben & Co").empty());
    EXPECT_EQ(ben.anonymous(105, {{"email", "BEN@example.org"}, {"password", std::string(64, 'b')},
                                  {"displayName", "Again"}}),
              (json{{"code", 2}, {"info", "User already exists"}}));
    const auto cidToken = social->facebookToken("fb-77");
    const auto cidId = cid.anonymous(
        100, {{"socialID", "fb-77"}, {"socialType", "0"}, {"displayName", "Cid"}, {"socialToken", cidToken}});
    cid.setUserId(cidId.at("userID"));
    const auto cidUser = cid.anonymous(102, {{"socialType", "0"}, {"socialID", "fb-77"}, {"socialToken", cidToken}});
    EXPECT_EQ(cidUser.at("userID"), cid.userId());
    EXPECT_EQ(cidUser.at("registrationFromSocial"), true);
    EXPECT_EQ(ann.anonymous(104, {{"email", "ann@example.org"}, {"password", std::string(64, 'a')}})
                  .at("displayName"), "Ann");
    EXPECT_EQ(ann.call(101).at("userID"), ann.userId());

    // Push tokens and push connections for Ann and Ben.
    ann.anonymous(106, {{"token", "0aff01"}});
    ben.anonymous(106, {{"token", "beef02"}});
    PushListener annPushes(server->port(), ann.deviceId(), "0aff01");
    PushListener benPushes(server->port(), ben.deviceId(), "beef02");

    // Ben verifies his phone number with a code that goes through the SMS outbox.
    EXPECT_EQ(ben.call(110, {{"body", "4711"}, {"target", "+4915112345678"}}), kOk);
    std::ifstream outbox(server->outboxPath());
    std::string line;
    ASSERT_TRUE(std::getline(outbox, line));
    EXPECT_EQ(json::parse(line).at("to"), "+4915112345678");
    EXPECT_THAT(json::parse(line).at("body").get<std::string>(), ::testing::HasSubstr("4711"));
    EXPECT_EQ(ben.call(112, {{"phoneNumber", "+4915112345678"}, {"code", "4711"}}), kOk);
    EXPECT_EQ(ben.call(113, {{"toUserID", "1"}}), kOk);
    EXPECT_EQ(ben.call(103, {{"displayName", "Ben"}}), kOk);
    const auto benSelf = ben.call(101);
    EXPECT_EQ(benSelf.at("phoneNumber"), "+4915112345678");
    EXPECT_EQ(benSelf.at("registrationCompleted"), true);

    // Ann's address book finds Ben, who becomes her contact; Cid is added by identifier.
    const auto matched = ann.call(111, {{"Numbers", "+4915112345678,+490301234567,not a number"}});
    EXPECT_THAT(field(matched, "userID"), ElementsAre(ben.userId()));
    EXPECT_EQ(matched[0].at("phoneNumber"), "");  // other users' numbers stay private
    EXPECT_EQ(ann.call(500, {{"contactID", cid.userId()}}), kOk);
    EXPECT_THAT(field(ann.call(501).at("Contacts"), "userID"), UnorderedElementsAre(ben.userId(), cid.userId()));

    // Ann plans a group with waypoints, sent out of order.
    const auto now = WallClock::now();
    const auto created = ann.call(300, {{"description", "Alps & lakes"},
                                        {"startTime", WallClock::format(now - 3600)},
                                        {"endTime", WallClock::format(now + 86400)},
                                        {"groupType", "3"}});
    ASSERT_EQ(created.at("code"), 0);
    const std::string group = created.at("groupID");
    const std::string wordOne = created.at("wordOne"), wordTwo = created.at("wordTwo");
    for (const auto& [number, lati] : {std::pair{"2", "47.5"}, {"1", "47.25"}, {"3", "47.75"}})
        EXPECT_EQ(ann.call(400, {{"groupID", group}, {"lati", lati}, {"longi", "11.5"}, {"number", number}}), kOk);
    const auto waypoints = ann.call(401, {{"groupID", group}});
    EXPECT_THAT(field(waypoints, "groupID"), ElementsAre(group, group, group));
    EXPECT_EQ(waypoints[0].at("number"), 1);
    EXPECT_EQ(waypoints[0].at("lati"), 47.25);
    EXPECT_EQ(waypoints[2].at("number"), 3);

    // Ben is invited; Cid joins by the two words as typed (case and spaces do not matter).
    EXPECT_EQ(ann.call(306, {{"groupID", group}, {"inviteID", ben.userId()}}), kOk);
    EXPECT_EQ(cid.call(311, {{"wordOne", " " + wordOne}, {"wordTwo", wordTwo}}), kOk);
    EXPECT_TRUE(annPushes.waitFor([](const json& p) { return isPush(p, 301); }));
    const auto benGroups = ben.call(301);
    ASSERT_EQ(benGroups.size(), 1u);
    EXPECT_EQ(benGroups[0].at("description"), "Alps & lakes");
    EXPECT_EQ(benGroups[0].at("groupType"), 3);
    EXPECT_THAT(field(benGroups[0].at("Members"), "groupID"), ElementsAre(group, group, group));

    // Everybody joins and shares positions from a short track.
    for (auto* who : {&ann, &ben, &cid}) EXPECT_EQ(who->call(305, {{"groupID", group}}), kOk);
    const std::vector<std::pair<double, double>> track = {{47.2692, 11.4041}, {47.2701, 11.4063}, {47.2713, 11.4089}};
    for (const auto& [lati, longi] : track) {
        EXPECT_EQ(ann.call(200, {{"lati", std::to_string(lati)}, {"longi", std::to_string(longi)}}), kOk);
        EXPECT_EQ(ben.call(200, {{"lati", std::to_string(lati + 0.01)}, {"longi", std::to_string(longi)}}), kOk);
    }
    const auto positions = cid.call(201, {{"groupID", group}});
    ASSERT_EQ(positions.size(), 2u);
    const auto members = cid.call(309, {{"groupID", group}});
    std::map<std::string, std::string> deviceOfUser;
    for (const auto& m : members) {
        ASSERT_FALSE(m.at("Device").is_null());
        EXPECT_TRUE(m.contains("joined"));
        deviceOfUser[m.at("User").at("userID")] = m.at("Device").at("deviceID");
        EXPECT_EQ(m.at("isLeader"), m.at("User").at("userID") == ann.userId());
    }
    for (const auto& p : positions) {
        const bool isAnn = p.at("deviceID") == deviceOfUser[ann.userId()];
        EXPECT_TRUE(isAnn || p.at("deviceID") == deviceOfUser[ben.userId()]);
        EXPECT_DOUBLE_EQ(p.at("lati").get<double>(), track.back().first + (isAnn ? 0 : 0.01));
        EXPECT_TRUE(WallClock::parse(p.at("synchronized").get<std::string>()));
    }
    for (const auto& [user, device] : deviceOfUser) EXPECT_NE(device, ann.deviceId());

    // Chat: Ben gets a push for Ann's message and sees the conversation newest first.
    EXPECT_EQ(ann.call(600, {{"text", "Meet at the hut? 100% & \"soon\""}, {"toUserID", ben.userId()}}), kOk);
    EXPECT_TRUE(benPushes.waitFor([](const json& p) { return isPush(p, 601); }));
    EXPECT_EQ(ben.call(600, {{"text", "Yes 👍"}, {"toUserID", ann.userId()}}), kOk);
    EXPECT_TRUE(annPushes.waitFor([](const json& p) { return isPush(p, 601); }));
    const auto chat = ann.call(601, {{"toUserID", ben.userId()}});
    ASSERT_EQ(chat.size(), 2u);
    EXPECT_EQ(chat[0].at("text"), "Yes 👍");
    EXPECT_EQ(chat[0].at("fromUserID"), ben.userId());
    EXPECT_EQ(chat[1].at("text"), "Meet at the hut? 100% & \"soon\"");

    // A stranger asks to join; the leader's device is told who asks.
    Installation dan = install();
    dan.registerEmail("dan@example.org", "Dan");
    const auto outsider = dan.call(312, {{"loadID", group}});
    EXPECT_EQ(outsider.at("description"), "Alps & lakes");
    EXPECT_TRUE(outsider.at("Members").empty());
    EXPECT_EQ(dan.call(313, {{"groupID", group}}), kOk);
    EXPECT_TRUE(annPushes.waitFor([&](const json& p) {
        return isPush(p, 302) && p.value("acme-objectID", "") == dan.userId();
    }));

    // Leaving: Ben stops sharing, then leaves; Ann is told each time.
    EXPECT_EQ(ben.call(308, {{"groupID", group}}), kOk);
    EXPECT_EQ(cid.call(201, {{"groupID", group}}).size(), 1u);
    EXPECT_EQ(ben.call(302, {{"groupID", group}}), kOk);
    EXPECT_THAT(field(ann.call(309, {{"groupID", group}}), "groupID"), ElementsAre(group, group));
    EXPECT_TRUE(ben.call(301).empty());
}

TEST_P(TripTest, GroupRulesHold) {
    Installation ann = install(), ben = install();
    ann.registerEmail("ann@example.org", "Ann");
    ben.registerEmail("ben@example.org", "Ben");
    const auto now = WallClock::now();
    const auto create = [&](std::int64_t start, std::int64_t end) {
        return ann.call(300, {{"description", "G"}, {"startTime", WallClock::format(start)},
                              {"endTime", WallClock::format(end)}, {"groupType", "2"}});
    };
    const std::string later = create(now + 3600, now + 7200).at("groupID");
    const auto open = create(now - 60, now + 3600);
    const auto other = create(now - 60, now + 3600);
    EXPECT_NE(open.at("wordOne").get<std::string>() + open.at("wordTwo").get<std::string>(),
              other.at("wordOne").get<std::string>() + other.at("wordTwo").get<std::string>());
    EXPECT_EQ(create(now - 7200, now - 3600).at("info"), "The group's time window has already closed");

    EXPECT_EQ(ann.call(305, {{"groupID", later}}).at("info"), "The group can only be joined during its time window");
    EXPECT_EQ(ann.call(305, {{"groupID", open.at("groupID")}}), kOk);
    EXPECT_EQ(ann.call(305, {{"groupID", other.at("groupID")}}).at("info"), "Already joined to another group, leave it first");
    EXPECT_EQ(ann.call(302, {{"groupID", open.at("groupID")}}).at("info"),
              "The group's leader deletes the group instead of leaving it");

    EXPECT_EQ(ben.call(311, {{"wordOne", open.at("wordOne")}, {"wordTwo", open.at("wordTwo")}}), kOk);
    EXPECT_EQ(ben.call(303, {{"groupID", open.at("groupID")}}).at("info"), "Only the group's leader can delete it");
    EXPECT_EQ(ben.call(307, {{"groupID", open.at("groupID")}, {"removeID", ann.userId()}}).at("info"),
              "Only the group's leader can remove members");
    EXPECT_EQ(ann.call(307, {{"groupID", open.at("groupID")}, {"removeID", ben.userId()}}), kOk);
    EXPECT_EQ(ben.call(309, {{"groupID", open.at("groupID")}}).at("info"), "Not a member of this group");
    EXPECT_EQ(ann.call(303, {{"groupID", open.at("groupID")}}), kOk);
    EXPECT_EQ(ann.call(312, {{"loadID", open.at("groupID")}}).at("info"), "No such group");
    EXPECT_EQ(ann.call(305, {{"groupID", other.at("groupID")}}), kOk);  // the deleted group freed the join
}

TEST_P(TripTest, TextMessagesAreRateLimited) {
    Installation ann = install();
    ann.registerEmail("ann@example.org", "Ann");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ann.call(110, {{"body", "1234"}, {"target", "+491701"}}), kOk);
    EXPECT_EQ(ann.call(110, {{"body", "1234"}, {"target", "+491701"}}).at("code"), 1);
    EXPECT_EQ(ann.call(112, {{"phoneNumber", "+491701"}, {"code", "1234"}}), kOk);
}

INSTANTIATE_TEST_SUITE_P(Server, TripTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
