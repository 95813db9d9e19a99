// Throttles hold under concurrency, count per client address as well as per account, and
// strangers' guesses do not lock the owner's own device out.
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include <gmock/gmock.h>

#include "server/WallClock.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

const json kOk = {{"code", 0}};
const std::string kTooManyFailures = "Too many failed attempts, try again later";
std::string password(char c) { return std::string(64, c); }
// The refusal text of a reply; list replies have none.
std::string infoOf(const json& reply) { return reply.is_object() ? reply.value("info", "") : ""; }

class ThrottleTest : public ServerFixture {
protected:
    // Runs the request 50 times at once; returns how often each info text came back.
    std::map<std::string, int> burst(const std::function<json(int)>& request) {
        std::map<std::string, int> infos;
        std::mutex mutex;
        std::vector<std::thread> threads;
        for (int i = 0; i < 50; ++i) {
            threads.emplace_back([&, i] {
                const auto reply = request(i);
                std::lock_guard lock(mutex);
                ++infos[reply.value("info", "")];
            });
        }
        for (auto& t : threads) t.join();
        return infos;
    }
    Installation from(const std::string& address) {
        Installation i = install();
        i.setLocalAddress(address);
        return i;
    }
};

TEST_P(ThrottleTest, ABurstOfWrongGuessesGetsNoMoreThanTheLimit) {
    Installation ann = install(), ben = install();
    ann.registerEmail("ann@example.org", "Ann");
    ben.registerEmail("ben@example.org", "Ben");
    struct Case {
        const char* name;
        std::function<json(int)> guess;
        const char* wrong;
        int limit;
        const char* tooMany;
    };
    const std::vector<Case> cases = {
        {"wrong passwords, each from a fresh device",
         [&](int i) {
             Installation guesser(server->port(), Installation::randomDeviceId());
             return guesser.anonymous(104, {{"email", "ann@example.org"}, {"password", password('b' + i % 4)}});
         },
         "No such user", 10, kTooManyFailures.c_str()},
        {"wrong words of one user",
         [&](int i) {
             Installation same(server->port(), ben.deviceId());
             same.setUserId(ben.userId());
             return same.call(311, {{"wordOne", "no" + std::to_string(i)}, {"wordTwo", "such"}});
         },
         "No open group has these words", 20, "Too many wrong words, try again later"},
        {"another user's identifier on one device",
         [&](int) {
             Installation same(server->port(), ben.deviceId());
             same.setUserId(ann.userId());
             return same.call(107);
         },
         "Not signed in on this device", 10, kTooManyFailures.c_str()},
        {"social tokens the network does not confirm, from one address",
         [&](int i) {
             Installation guesser(server->port(), Installation::randomDeviceId());
             return guesser.anonymous(
                 102, {{"socialType", "0"}, {"socialID", "fb-ann"}, {"socialToken", "EAAguess" + std::to_string(i)}});
         },
         "Facebook did not confirm this account", 30, kTooManyFailures.c_str()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto infos = burst(c.guess);
        // Exactly the limit: no more guesses, and none of the allowed ones lost either.
        EXPECT_EQ(infos.count(c.wrong) ? infos.at(c.wrong) : 0, c.limit);
        EXPECT_EQ(infos.count(c.tooMany) ? infos.at(c.tooMany) : 0, 50 - c.limit);
    }
}

TEST_P(ThrottleTest, TheOwnersBoundDeviceKeepsSigningInWhileOthersAreThrottled) {
    Installation ann = install(), thief = install();
    ann.registerEmail("ann@example.org", "Ann");
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(thief.anonymous(104, {{"email", "ann@example.org"}, {"password", password('b')}}).at("code"), 2);
    // A new device with the right password is refused; Ann's own device signs in.
    EXPECT_EQ(install().anonymous(104, {{"email", "ann@example.org"}, {"password", password('a')}}).at("info"),
              kTooManyFailures);
    EXPECT_EQ(ann.anonymous(104, {{"email", "ann@example.org"}, {"password", password('a')}}).at("userID"),
              ann.userId());
    // The owner's device counts its own wrong passwords.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(ann.anonymous(104, {{"email", "ann@example.org"}, {"password", password('c')}}).at("code"), 2);
    EXPECT_EQ(ann.anonymous(104, {{"email", "ann@example.org"}, {"password", password('a')}}).at("info"),
              kTooManyFailures);
}

TEST_P(ThrottleTest, APasswordTriedOnManyAccountsIsThrottledPerAddress) {
    Installation ann = from("127.0.0.2");
    ann.registerEmail("ann@example.org", "Ann");
    for (int i = 0; i < 30; ++i) {
        Installation guesser = from("127.0.0.3");
        ASSERT_EQ(guesser.anonymous(104, {{"email", "user" + std::to_string(i) + "@example.org"},
                                          {"password", password('b')}}).at("code"), 2);
    }
    EXPECT_EQ(from("127.0.0.3").anonymous(104, {{"email", "ann@example.org"}, {"password", password('b')}})
                  .at("info"), kTooManyFailures);
    // From another address the account is untouched.
    EXPECT_EQ(from("127.0.0.4").anonymous(104, {{"email", "ann@example.org"}, {"password", password('a')}})
                  .at("userID"), ann.userId());
}

// Each case: how many requests from fresh accounts on one address succeed before the refusal.
TEST_P(ThrottleTest, FreshAccountsDoNotResetTheLimitsOfAnAddress) {
    struct Case {
        const char* name;
        std::function<json(Installation&, int)> request;  // by a signed-in installation on 127.0.0.5
        int allowed;
        const char* refusal;
    };
    const std::vector<Case> cases = {
        {"text messages",
         [](Installation& i, int n) { return i.call(110, {{"body", "1234"}, {"target", "+49170" + std::to_string(n)}}); },
         10, "Too many text messages, try again later"},
        {"address-book matches", [](Installation& i, int) { return i.call(111, {{"Numbers", "+491701"}}); }, 30,
         "Too many address-book matches, try again later"},
        {"wrong words", [](Installation& i, int) { return i.call(311, {{"wordOne", "no"}, {"wordTwo", "such"}}); }, 40,
         "Too many wrong words, try again later"},
    };
    int accounts = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Fresh accounts from their own addresses, each sending from 127.0.0.5 afterwards.
        std::vector<Installation> people;
        for (int n = 0; n < c.allowed + 1; ++n) {
            if (people.empty() || n % 5 == 0) {
                people.push_back(from("127.0.1." + std::to_string(++accounts)));
                ASSERT_FALSE(people.back().registerEmail("p" + std::to_string(accounts) + "@example.org", "P").empty());
                people.back().setLocalAddress("127.0.0.5");
            }
            const auto reply = c.request(people.back(), n);
            if (n < c.allowed)
                EXPECT_NE(infoOf(reply), c.refusal) << n;
            else
                EXPECT_EQ(reply, (json{{"code", 1}, {"info", c.refusal}}));
        }
        // Another address is not affected.
        people.back().setLocalAddress("127.0.0.6");
        EXPECT_NE(infoOf(c.request(people.back(), 99)), c.refusal);
    }
}

TEST_P(ThrottleTest, ManyRegistrationsFromOneAddressAreRefused) {
    for (int i = 0; i < 20; ++i)
        ASSERT_FALSE(from("127.0.0.7").registerEmail("r" + std::to_string(i) + "@example.org", "R").empty()) << i;
    const std::string before = database->snapshot();
    const json refused = {{"code", 1}, {"info", "Too many registrations from this address, try again later"}};
    EXPECT_EQ(from("127.0.0.7").anonymous(105, {{"email", "late@example.org"}, {"password", password('a')},
                                                {"displayName", "Late"}}), refused);
    EXPECT_EQ(from("127.0.0.7").anonymous(100, {{"socialID", "fb-1"}, {"socialType", "0"}, {"displayName", "Late"},
                                                {"socialToken", social->facebookToken("fb-1")}}),
              refused);
    EXPECT_EQ(database->snapshot(), before);
    EXPECT_FALSE(from("127.0.0.8").registerEmail("late@example.org", "Late").empty());
}

TEST_P(ThrottleTest, AStrangerGetsAFewJoinRequestsPerGroup) {
    Installation ann = install(), dan = install(), eve = install();
    ann.registerEmail("ann@example.org", "Ann");
    dan.registerEmail("dan@example.org", "Dan");
    eve.registerEmail("eve@example.org", "Eve");
    const auto now = WallClock::now();
    const auto open = [&](const char* description) -> std::string {
        return ann.call(300, {{"description", description}, {"startTime", WallClock::format(now - 60)},
                              {"endTime", WallClock::format(now + 3600)}, {"groupType", "2"}})
            .at("groupID");
    };
    const auto first = open("First"), second = open("Second");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dan.call(313, {{"groupID", first}}), kOk);
    EXPECT_EQ(dan.call(313, {{"groupID", first}}),
              (json{{"code", 1}, {"info", "Too many join requests for this group, try again later"}}));
    EXPECT_EQ(dan.call(313, {{"groupID", second}}), kOk);
    EXPECT_EQ(eve.call(313, {{"groupID", first}}), kOk);
}

INSTANTIATE_TEST_SUITE_P(Server, ThrottleTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
