// The device binding: its cap per user, throttling of repeated failures, and what a
// reply may reveal about other users.
#include <gmock/gmock.h>

#include "server/Dispatcher.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

class SecurityTest : public ServerFixture {};

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
    owner.registerEmail("owner@example.org", "Owner");
    other.registerEmail("other@example.org", "Other");
    const std::string mine = owner.userId();
    owner.setUserId(other.userId());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(owner.call(107).at("info"), "Not signed in on this device");
    owner.setUserId(mine);
    EXPECT_EQ(owner.call(107), (json{{"code", 1}, {"info", "Too many failed attempts, try again later"}}));
    EXPECT_TRUE(other.call(107).is_array());  // other devices are not affected
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
