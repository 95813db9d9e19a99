// The device binding: its cap per user, throttling of repeated failures, and what a
// reply may reveal about other users.
#include <gmock/gmock.h>

#include "server/actions/Dispatcher.h"
#include "server/WallClock.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

class SecurityTest : public ServerFixture {
protected:
    // Registers both, then sends ten requests from owner's device under other's identifier;
    // owner is left with its own identifier again.
    std::vector<json> tenWrongBindings(Installation& owner, Installation& other) {
        owner.registerEmail("owner@example.org", "Owner");
        other.registerEmail("other@example.org", "Other");
        const std::string mine = owner.userId();
        owner.setUserId(other.userId());
        std::vector<json> replies;
        for (int i = 0; i < 10; ++i) replies.push_back(owner.call(107));
        owner.setUserId(mine);
        return replies;
    }
};

TEST_P(SecurityTest, OldestDeviceLosesItsBindingBeyondTheCap) {
    Installation first = install();
    first.registerEmail("many@example.org", "Many");
    EXPECT_EQ(first.call(101).at("userID"), first.userId());
    for (int i = 0; i < 10; ++i) {  // the default cap is ten devices per user
        Installation next = install();
        const auto user = next.anonymous(104, {{"email", "many@example.org"}, {"password", std::string(64, 'a')}});
        ASSERT_EQ(user.at("userID"), first.userId());
    }
    EXPECT_EQ(first.call(101), (json{{"code", 2}, {"info", "No such user"}}));
    EXPECT_EQ(first.call(107), (json{{"code", 1}, {"info", "Not signed in on this device"}}));
}

TEST_P(SecurityTest, RepeatedBindingFailuresAreThrottled) {
    Installation owner = install(), other = install();
    for (const auto& reply : tenWrongBindings(owner, other))
        EXPECT_EQ(reply.at("info"), "Not signed in on this device");
    EXPECT_EQ(owner.call(107), (json{{"code", 1}, {"info", "Too many failed attempts, try again later"}}));
    EXPECT_TRUE(other.call(107).is_array());  // other devices are not affected
}

TEST_P(SecurityTest, ThrottlingOutlastsARestart) {
    Installation owner = install(), other = install();
    tenWrongBindings(owner, other);
    server->terminate();
    server->start();
    owner.setPort(server->port());
    EXPECT_EQ(owner.call(107), (json{{"code", 1}, {"info", "Too many failed attempts, try again later"}}));
}

TEST_P(SecurityTest, WrongPasswordsAndWrongWordsAreThrottledPerAddressAndPerUser) {
    Installation ann = install(), ben = install(), guesser = install();
    ann.registerEmail("ann@example.org", "Ann");
    ben.registerEmail("ben@example.org", "Ben");
    const auto password = [](char c) { return std::string(64, c); };
    const json noSuchUser = {{"code", 2}, {"info", "No such user"}};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(guesser.anonymous(104, {{"email", "ann@example.org"}, {"password", password('b')}}), noSuchUser);
    // Even the right password is refused for that address now, from any device.
    const json tooMany = {{"code", 1}, {"info", "Too many failed attempts, try again later"}};
    EXPECT_EQ(install().anonymous(104, {{"email", "ann@example.org"}, {"password", password('a')}}), tooMany);
    EXPECT_EQ(ben.anonymous(104, {{"email", "ben@example.org"}, {"password", password('a')}}).at("userID"),
              ben.userId());

    const auto now = WallClock::now();
    const auto group = ann.call(300, {{"description", "G"}, {"startTime", WallClock::format(now - 60)},
                                      {"endTime", WallClock::format(now + 3600)}, {"groupType", "2"}});
    ASSERT_EQ(group.at("code"), 0);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(ben.call(311, {{"wordOne", "no"}, {"wordTwo", "such"}}).at("info"), "No open group has these words");
    EXPECT_EQ(ben.call(311, {{"wordOne", group.at("wordOne")}, {"wordTwo", group.at("wordTwo")}}),
              (json{{"code", 1}, {"info", "Too many wrong words, try again later"}}));
}

TEST_P(SecurityTest, WrongPasswordsLookLikeUnknownUsers) {
    Installation ann = install();
    ann.registerEmail("ann@example.org", "Ann");
    const json noSuchUser = {{"code", 2}, {"info", "No such user"}};
    EXPECT_EQ(ann.anonymous(104, {{"email", "ann@example.org"}, {"password", std::string(64, 'b')}}), noSuchUser);
    EXPECT_EQ(ann.anonymous(104, {{"email", "nobody@example.org"}, {"password", std::string(64, 'a')}}), noSuchUser);
    // Nothing in any reply carries a password hash.
    const auto all = ann.call(107).dump() + ann.call(101).dump();
    EXPECT_THAT(all, ::testing::Not(::testing::HasSubstr("argon2")));
}

TEST(ServerDispatcherTest, EveryClientActionHasAHandler) {
    for (int action : {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 200, 201,
                       300, 301, 302, 303, 305, 306, 307, 308, 309, 311, 312, 313, 400, 401, 500, 501, 502,
                       600, 601})
        EXPECT_NE(Dispatcher::shared().find(action), nullptr) << action;
    EXPECT_EQ(Dispatcher::shared().find(304), nullptr);
    EXPECT_EQ(Dispatcher::shared().find(310), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Server, SecurityTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
