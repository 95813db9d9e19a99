#include "RecordingReceiver.h"
#include "TestEnvironment.h"

#include "platform/push/ScriptedPushService.h"
#include "platform/push/UnavailablePushService.h"

#include <gtest/gtest.h>

namespace kelpa::platform {
namespace {

using nlohmann::json;
using testing::RecordingReceiver;

TEST(UnavailablePushService, RefusesEveryRegistrationOnTheMainQueue) {
    kelpa::testing::TestEnvironment t;
    UnavailablePushService push;
    auto receiver = std::make_shared<RecordingReceiver>(t.env().mainQueue);
    push.registerForRemoteNotifications(receiver);
    EXPECT_TRUE(receiver->errors.empty());  // not before the main queue runs
    t.loop().runUntilIdle();
    EXPECT_EQ(receiver->errors, std::vector<std::string>{"push notifications are not available"});
    EXPECT_TRUE(receiver->tokens.empty());
}

TEST(ScriptedPushService, YieldsItsTokenThenDeliversToTheReceiver) {
    kelpa::testing::TestEnvironment t;
    ScriptedPushService push;
    auto receiver = std::make_shared<RecordingReceiver>(t.env().mainQueue);
    push.deliver({{"acme-action", 601}});  // nobody registered yet: dropped
    push.registerForRemoteNotifications(receiver);
    push.deliver({{"acme-action", 302}, {"acme-objectID", "7"}});
    EXPECT_TRUE(receiver->tokens.empty());
    t.loop().runUntilIdle();
    ASSERT_EQ(receiver->tokens.size(), 1u);
    EXPECT_EQ(receiver->tokens[0].size(), 32u);
    EXPECT_EQ(receiver->tokens[0], push.token());
    EXPECT_EQ(receiver->payloads, (std::vector<json>{{{"acme-action", 302}, {"acme-objectID", "7"}}}));

    // A receiver that is gone is not called.
    push.deliver({{"acme-action", 301}});
    receiver.reset();
    t.loop().runUntilIdle();
}

TEST(ScriptedPushService, FailsRegistrationsWhenToldTo) {
    kelpa::testing::TestEnvironment t;
    ScriptedPushService push(std::string("\x01\x02", 2));
    auto first = std::make_shared<RecordingReceiver>(t.env().mainQueue);
    push.registerForRemoteNotifications(first);
    push.failRegistration("no network");
    auto second = std::make_shared<RecordingReceiver>(t.env().mainQueue);
    push.registerForRemoteNotifications(second);
    push.deliver({{"acme-action", 601}});
    t.loop().runUntilIdle();
    EXPECT_EQ(first->tokens, std::vector<std::string>{std::string("\x01\x02", 2)});
    EXPECT_EQ(second->errors, std::vector<std::string>{"no network"});
    EXPECT_TRUE(first->payloads.empty());  // replaced by the failed registration
    EXPECT_TRUE(second->payloads.empty());
    EXPECT_EQ(push.registrations(), 2);
}

}  // namespace
}  // namespace kelpa::platform
