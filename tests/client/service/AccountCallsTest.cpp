// The account calls: what each sends, and what a success, a refusal and no reply leave in the
// signed-in user, "kUserID" and the groups load.
#include "TestEnvironment.h"

#include "client/model/Group.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/Member.h"
#include "client/model/User.h"
#include "client/service/API.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kelpa;
using platform::FakeHttpClient;
using json = nlohmann::json;
using Fields = std::vector<std::pair<std::string, std::string>>;

namespace {

Fields ownFields(const platform::FormEncoding::Fields& form) {
    Fields fields;
    for (const auto& field : form) {
        if (field.first != "deviceID") fields.push_back(field);
    }
    return fields;
}

struct SignInCase {
    const char* name;
    int action;
    Fields fields;  // with "userID", in wire order
    bool remembers;
    bool loadsGroups;
    std::function<void(API::LoginHandler)> call;
};

const std::vector<SignInCase>& signIns() {
    static const std::vector<SignInCase> cases = {
        {"stored identifier", 101, {{"action", "101"}, {"userID", "5"}}, false, true,
         [](API::LoginHandler h) { API::loginUserWithUserID("5", h); }},
        {"Twitter account", 102,
         {{"action", "102"}, {"socialType", "1"}, {"socialID", "tw-77"}, {"socialToken", "t0k"},
          {"socialTokenSecret", "s3cret"}, {"userID", "-4321"}},
         true, true, [](API::LoginHandler h) { API::loginUserWithSocialID("tw-77", 1, {"t0k", "s3cret"}, h); }},
        {"Facebook account", 102,
         {{"action", "102"}, {"socialType", "0"}, {"socialID", "fb-77"}, {"socialToken", "EAAB"}, {"userID", "-4321"}},
         true, true, [](API::LoginHandler h) { API::loginUserWithSocialID("fb-77", 0, {"EAAB", ""}, h); }},
        {"e-mail", 104,
         {{"action", "104"}, {"email", "ann@example.org"}, {"password", "9f86d0"}, {"userID", "-4321"}}, true,
         false, [](API::LoginHandler h) { API::loginUserWithEmail("ann@example.org", "9f86d0", h); }},
    };
    return cases;
}

struct SignInOutcome {
    int calls = 0;
    std::int32_t code = -1;
    std::shared_ptr<User> user;
    bool onMain = false;
    std::shared_ptr<User> currentInHandler;
};

API::LoginHandler recordInto(SignInOutcome& out, kelpa::testing::TestEnvironment& t) {
    return [&out, &t](std::int32_t code, std::shared_ptr<User> user) {
        ++out.calls;
        out.code = code;
        out.user = std::move(user);
        out.onMain = t.loop().isMainThread();
        out.currentInHandler = User::getCurrentUser();
    };
}

TEST(SignIn, SuccessSetsTheUserRemembersItUnlessStoredAndLoadsGroupsForTwo) {
    for (const auto& c : signIns()) {
        SCOPED_TRACE(c.name);
        kelpa::testing::TestEnvironment t;
        KelpaDefaults::saveUserID("old");
        t.http().queueJSONForAction(c.action, {{"userID", "5"}, {"displayName", "Ann"}, {"registrationCompleted", 1}});
        t.http().queueJSONForAction(
            301, json::array({{{"groupID", "17"},
                               {"Members", json::array({{{"User", {{"userID", "5"}}},
                                                         {"Device", {{"deviceID", "D"}}},
                                                         {"joined", "2026-03-02T08:00:00"}}})}}}));
        SignInOutcome out;
        c.call(recordInto(out, t));
        t.settle();

        EXPECT_EQ(out.calls, 1);
        EXPECT_TRUE(out.onMain);
        EXPECT_EQ(out.code, 0);
        ASSERT_TRUE(out.user);
        EXPECT_EQ(out.user->userID, "5");
        EXPECT_EQ(out.user->displayName, "Ann");
        EXPECT_TRUE(out.user->registrationCompleted);
        EXPECT_EQ(out.currentInHandler, out.user);  // installed before the handler
        EXPECT_EQ(User::getCurrentUser(), out.user);
        EXPECT_EQ(KelpaDefaults::getUserID(), c.remembers ? "5" : "old");

        const auto forms = t.http().formsForAction(c.action);
        ASSERT_EQ(forms.size(), 1u);
        EXPECT_EQ(ownFields(forms[0]), c.fields);
        ASSERT_EQ(t.http().formsForAction(301).size(), c.loadsGroups ? 1u : 0u);
        if (c.loadsGroups) {
            EXPECT_EQ(FakeHttpClient::field(t.http().formsForAction(301)[0], "userID"), "5");
            ASSERT_TRUE(Group::getJoinedGroup());  // the groups load settles the joined group
            EXPECT_EQ(Group::getJoinedGroup()->groupID, "17");
            EXPECT_EQ(out.user->groups->size(), 1u);
        } else {
            EXPECT_FALSE(Group::getJoinedGroup());
        }
    }
}

TEST(SignIn, RefusalOrNoReplyChangesNothingAndReportsOnce) {
    struct Reply {
        const char* name;
        std::optional<json> body;
        std::int32_t code;
    };
    const Reply replies[] = {
        {"no such user", json{{"code", 2}, {"info", "unknown"}}, 2},
        {"no reply", std::nullopt, 1},
        {"a list", json::array(), 1},
    };
    for (const auto& c : signIns()) {
        for (const auto& reply : replies) {
            SCOPED_TRACE(std::string(c.name) + ", " + reply.name);
            kelpa::testing::TestEnvironment t;
            KelpaDefaults::saveUserID("old");
            auto before = std::make_shared<User>();
            User::setCurrentUser(before);
            if (reply.body) t.http().queueJSONForAction(c.action, *reply.body);
            SignInOutcome out;
            c.call(recordInto(out, t));
            t.settle();
            EXPECT_EQ(out.calls, 1);
            EXPECT_EQ(out.code, reply.code);
            EXPECT_FALSE(out.user);
            EXPECT_EQ(User::getCurrentUser(), before);
            EXPECT_EQ(KelpaDefaults::getUserID(), "old");
            EXPECT_EQ(t.http().count(), 1u);  // no groups load
        }
    }
}

struct RegistrationCase {
    const char* name;
    int action;
    Fields fields;
    std::function<void(std::shared_ptr<User>, API::CodeHandler)> call;
    std::function<void(const User&)> check;  // the record after a success
};

const std::vector<RegistrationCase>& registrations() {
    static const std::vector<RegistrationCase> cases = {
        {"e-mail", 105,
         {{"action", "105"}, {"email", "ann@example.org"}, {"password", "9f86d0"}, {"displayName", "Ann"},
          {"userID", "-4321"}},
         [](std::shared_ptr<User> u, API::CodeHandler h) { API::registerNewUser(u, "ann@example.org", "9f86d0", h); },
         [](const User& u) {
             EXPECT_FALSE(u.registrationFromSocial);
             EXPECT_EQ(u.socialType, -1);
             EXPECT_FALSE(u.socialID);
         }},
        {"social account", 100,
         {{"action", "100"}, {"socialID", "fb-1"}, {"socialType", "0"}, {"displayName", "Ann"}, {"socialToken", "EAAB"},
          {"userID", "-4321"}},
         [](std::shared_ptr<User> u, API::CodeHandler h) { API::registerNewUser(u, "fb-1", 0, {"EAAB", ""}, h); },
         [](const User& u) {
             EXPECT_TRUE(u.registrationFromSocial);
             EXPECT_EQ(u.socialType, 0);
             EXPECT_EQ(u.socialID, "fb-1");
         }},
    };
    return cases;
}

TEST(Registration, ANumericIdentifierBecomesTextInTheRecordAndTheStore) {
    for (const auto& c : registrations()) {
        SCOPED_TRACE(c.name);
        kelpa::testing::TestEnvironment t;
        auto user = std::make_shared<User>();
        user->displayName = "Ann";
        user->socialType = 1;  // overwritten by the registration
        t.http().queueJSONForAction(c.action, {{"userID", 42}});
        std::vector<std::pair<std::int32_t, std::shared_ptr<User>>> calls;
        c.call(user, [&](std::int32_t code) { calls.emplace_back(code, User::getCurrentUser()); });
        t.settle();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0], std::make_pair(0, user));  // installed before the handler
        EXPECT_EQ(user->userID, "42");
        EXPECT_FALSE(user->registrationCompleted);
        c.check(*user);
        EXPECT_EQ(KelpaDefaults::getUserID(), "42");
        EXPECT_EQ(ownFields(t.http().formsForAction(c.action).at(0)), c.fields);
        EXPECT_EQ(t.http().count(), 1u);  // registration loads no groups
    }
}

TEST(Registration, RefusalOrNoReplyLeavesEverything) {
    const std::pair<std::optional<json>, std::int32_t> replies[] = {
        {json{{"code", 2}, {"info", "exists"}}, 2}, {std::nullopt, 1}};
    for (const auto& c : registrations()) {
        for (const auto& [reply, code] : replies) {
            SCOPED_TRACE(c.name);
            kelpa::testing::TestEnvironment t;
            auto user = std::make_shared<User>();
            user->displayName = "Ann";
            if (reply) t.http().queueJSONForAction(c.action, *reply);
            std::vector<std::int32_t> calls;
            c.call(user, [&](std::int32_t got) { calls.push_back(got); });
            t.settle();
            EXPECT_EQ(calls, std::vector<std::int32_t>{code});
            EXPECT_FALSE(user->userID);
            EXPECT_FALSE(User::getCurrentUser());
            EXPECT_FALSE(KelpaDefaults::getUserID());
        }
    }
}

TEST(TextMessage, ReportsTheCodeAndNoReplyAsFailure) {
    const std::pair<std::optional<json>, std::int32_t> replies[] = {
        {json{{"code", 0}}, 0}, {json::object(), 0}, {json{{"code", 1}}, 1}, {std::nullopt, 1}};
    for (const auto& [reply, code] : replies) {
        kelpa::testing::TestEnvironment t;
        auto me = std::make_shared<User>();
        me->userID = "5";
        User::setCurrentUser(me);
        if (reply) t.http().queueJSONForAction(110, *reply);
        std::vector<std::int32_t> calls;
        API::sendSMS("Your code: 1234", "+4917612345", [&](std::int32_t got) { calls.push_back(got); });
        t.settle();
        EXPECT_EQ(calls, std::vector<std::int32_t>{code});
        EXPECT_EQ(ownFields(t.http().formsForAction(110).at(0)),
                  (Fields{{"action", "110"}, {"body", "Your code: 1234"}, {"target", "+4917612345"}, {"userID", "5"}}));
    }
}

}  // namespace
