// A position belongs to the group it was reported in, and only members joined now see it,
// while the group's window is open.
#include <gmock/gmock.h>

#include "server/WallClock.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

const json kOk = {{"code", 0}};
const json kNotJoined = {{"code", 1}, {"info", "Not joined to an open group on this device"}};

// Ann leads two groups and is joined to the first; Ben is a member of both.
class PositionPrivacyTest : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        if (IsSkipped()) return;
        ann = std::make_unique<Installation>(install());
        ben = std::make_unique<Installation>(install());
        ann->registerEmail("ann@example.org", "Ann");
        ben->registerEmail("ben@example.org", "Ben");
        first = openGroup("First");
        second = openGroup("Second");
        EXPECT_EQ(ann->call(305, {{"groupID", first}}), kOk);
    }
    std::string openGroup(const std::string& description) {
        const auto now = WallClock::now();
        const std::string id = ann->call(300, {{"description", description},
                                               {"startTime", WallClock::format(now - 60)},
                                               {"endTime", WallClock::format(now + 3600)},
                                               {"groupType", "1"}})
                                   .at("groupID");
        EXPECT_EQ(ann->call(306, {{"groupID", id}, {"inviteID", ben->userId()}}), kOk);
        return id;
    }
    json report(Installation& who, const std::string& lati) {
        return who.call(200, {{"lati", lati}, {"longi", "11.5"}});
    }
    // The latitudes the leader downloads for the group.
    std::vector<double> latitudes(const std::string& group) {
        std::vector<double> out;
        for (const auto& p : ann->call(201, {{"groupID", group}})) out.push_back(p.at("lati"));
        return out;
    }
    json benInMembers(const std::string& group) {
        for (const auto& m : ann->call(309, {{"groupID", group}}))
            if (m.at("User").at("userID") == ben->userId()) return m;
        return nullptr;
    }

    std::unique_ptr<Installation> ann, ben;
    std::string first, second;
};

TEST_P(PositionPrivacyTest, APositionIsReportedOnlyWhileJoinedWithThisDevice) {
    const std::string before = database->snapshot();
    EXPECT_EQ(report(*ben, "47.1"), kNotJoined);  // a member, not joined
    EXPECT_EQ(database->snapshot(), before);
    ASSERT_EQ(ben->call(305, {{"groupID", first}}), kOk);
    // Ben's second device is signed in but did not join.
    Installation tablet = install();
    ASSERT_EQ(tablet.anonymous(104, {{"email", "ben@example.org"}, {"password", std::string(64, 'a')}}).at("userID"),
              ben->userId());
    tablet.setUserId(ben->userId());
    EXPECT_EQ(report(tablet, "47.9"), kNotJoined);
    EXPECT_EQ(report(*ben, "47.2"), kOk);
    EXPECT_THAT(latitudes(first), ::testing::UnorderedElementsAre(47.2));
}

TEST_P(PositionPrivacyTest, APositionStaysInTheGroupItWasReportedIn) {
    ASSERT_EQ(ben->call(305, {{"groupID", first}}), kOk);
    ASSERT_EQ(report(*ben, "47.1"), kOk);
    ASSERT_EQ(latitudes(first), std::vector<double>{47.1});
    ASSERT_FALSE(benInMembers(first).at("Device").at("Position").is_null());

    // Leaving forgets it; in the next group Ben shows nothing until he reports there.
    ASSERT_EQ(ben->call(308, {{"groupID", first}}), kOk);
    EXPECT_TRUE(latitudes(first).empty());
    ASSERT_EQ(ben->call(305, {{"groupID", second}}), kOk);
    EXPECT_TRUE(latitudes(second).empty());
    EXPECT_FALSE(benInMembers(second).at("Device").contains("Position"));
    ASSERT_EQ(report(*ben, "48.5"), kOk);
    EXPECT_EQ(latitudes(second), std::vector<double>{48.5});
    EXPECT_TRUE(latitudes(first).empty());

    // Joining the first group again starts without a position too.
    ASSERT_EQ(ben->call(308, {{"groupID", second}}), kOk);
    ASSERT_EQ(ben->call(305, {{"groupID", first}}), kOk);
    EXPECT_TRUE(latitudes(first).empty());
}

TEST_P(PositionPrivacyTest, RemovalForgetsThePosition) {
    ASSERT_EQ(ben->call(305, {{"groupID", first}}), kOk);
    ASSERT_EQ(report(*ben, "47.1"), kOk);
    ASSERT_EQ(ann->call(307, {{"groupID", first}, {"removeID", ben->userId()}}), kOk);
    EXPECT_TRUE(latitudes(first).empty());
    EXPECT_EQ(report(*ben, "47.2"), kNotJoined);
    ASSERT_EQ(ann->call(306, {{"groupID", first}, {"inviteID", ben->userId()}}), kOk);
    ASSERT_EQ(ben->call(305, {{"groupID", first}}), kOk);
    EXPECT_TRUE(latitudes(first).empty());
}

TEST_P(PositionPrivacyTest, TheWindowsEndHidesPositionsAtOnceAndThePurgeForgetsThem) {
    ASSERT_EQ(ben->call(305, {{"groupID", first}}), kOk);
    ASSERT_EQ(report(*ben, "47.1"), kOk);
    ASSERT_EQ(report(*ann, "47.3"), kOk);
    database->execute("UPDATE travel_groups SET end_time = end_time - 7200 WHERE id = " + first);
    // Served nothing before the purge has run...
    EXPECT_TRUE(latitudes(first).empty());
    EXPECT_FALSE(benInMembers(first).at("Device").contains("Position"));
    EXPECT_EQ(report(*ben, "47.2"), kNotJoined);
    EXPECT_EQ(database->value("SELECT COUNT(*) FROM members WHERE synchronized IS NOT NULL"), "2");
    // ...and the purge (at start and every minute) forgets them.
    server->terminate();
    server->start();
    ann->setPort(server->port());
    ASSERT_EQ(ann->call(101).at("userID"), ann->userId());
    EXPECT_EQ(database->value("SELECT COUNT(*) FROM members WHERE synchronized IS NOT NULL OR lati IS NOT NULL"),
              "0");
}

INSTANTIATE_TEST_SUITE_P(Server, PositionPrivacyTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
