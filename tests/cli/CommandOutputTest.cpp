// What each command sends, and what it prints for success and failure in text and in JSON.
#include "KelpactlFixture.h"

#include "cli/PhoneCommands.h"

#include <map>

using namespace kelpa;
using namespace kelpa::cli::test;

namespace {

struct Reply {
    int action;
    std::optional<json> body;  // none: no reply at all
};

const json kOk = {{"code", 0}};
const json kRefused = {{"code", 1}, {"info", "not allowed"}};

json messages() {
    return json::array({{{"messageID", 2}, {"text", "see you"}, {"fromUserID", "8"}, {"toUserID", "7"},
                         {"sent", "2026-03-02T08:10:00"}},
                        {{"messageID", 1}, {"text", "hi"}, {"fromUserID", "7"}, {"toUserID", "8"},
                         {"sent", "2026-03-02T08:05:00"}}});
}

json groupWithMembers() {
    return groupJSON("12", 1, json::array({memberJSON("7", "Ann", "12", true, true), memberJSON("8", "Bob", "12", false)}));
}

Outcome runSignedIn(Harness& h, const std::vector<std::string>& arguments, const std::vector<Reply>& replies) {
    h.signedIn("7");
    for (const auto& reply : replies) {
        if (reply.body) h.t.http().queueJSONForAction(reply.action, *reply.body);
        else h.t.http().queueForAction(reply.action, std::nullopt);
    }
    return h.run(arguments);
}

TEST(KelpactlOutput, SuccessSendsTheRequestAndPrintsTextOrOneJSONDocument) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<Reply> replies;
        int action;  // the command's own request
        std::map<std::string, std::string> fields;
        std::vector<std::string> lines;                  // printed in text mode, in this order
        std::vector<std::pair<std::string, json>> document;  // JSON pointer and value with --json
        size_t sent = 1;  // how many requests carry the action
    };
    const json groups = json::array({groupWithMembers(), groupJSON("13", 2)});
    const std::vector<Case> cases = {
        {{"groups"}, {{301, groups}, {301, groups}}, 301, {},
         {"12  car  2026-03-02 08:00 .. 2026-03-02 20:00  Trip 12  (joined)",
          "13  bike  2026-03-02 08:00 .. 2026-03-02 20:00  Trip 13"},
         {{"/groups/0/groupID", "12"}, {"/groups/0/joined", true}, {"/groups/1/mode", "bike"},
          {"/groups/1/start", "2026-03-02T08:00:00"}, {"/joinedGroupID", "12"}},
         2},  // the sign-in again loads the groups too
        {{"group", "show", "12"}, {{312, groupWithMembers()}}, 312, {{"loadID", "12"}},
         {"group:        12", "description:  Trip 12", "mode:         car", "created:      2026-03-01 10:00",
          "start:        2026-03-02 08:00", "end:          2026-03-02 20:00", "members:      2",
          "  7  Ann  leader  joined 2026-03-02T08:30:00", "  8  Bob  not joined", "waypoints:    1",
          "  1. 47.100000,11.200000"},
         {{"/group/members/0/isLeader", true}, {"/group/members/1/joined", nullptr},
          {"/group/members/0/deviceID", "DEV7"}, {"/group/waypoints/0/latitude", 47.1},
          {"/group/created", "2026-03-01T10:00:00"}}},
        {{"join", "12"}, {{312, groupWithMembers()}, {305, kOk}}, 305, {{"groupID", "12"}},
         {"joined group 12 (Trip 12)"}, {{"/ok", true}, {"/groupID", "12"}}},
        {{"leave", "12"}, {{308, kOk}}, 308, {{"groupID", "12"}}, {"left group 12"}, {{"/groupID", "12"}}},
        {{"quickjoin", "apple", "pear"}, {{311, kOk}}, 311, {{"wordOne", "apple"}, {"wordTwo", "pear"}},
         {"joined the group of these words"}, {{"/ok", true}}},
        {{"members", "12"}, {{309, groupWithMembers()["Members"]}}, 309, {{"groupID", "12"}},
         {"7  Ann  leader  joined 2026-03-02T08:30:00", "8  Bob  not joined"},
         {{"/groupID", "12"}, {"/members/1/displayName", "Bob"}, {"/members/1/deviceID", nullptr}}},
        {{"invite", "12", "8"}, {{306, kOk}}, 306, {{"groupID", "12"}, {"inviteID", "8"}}, {"invited 8 to group 12"},
         {{"/userID", "8"}}},
        {{"positions", "12"},
         {{201, json::array({{{"deviceID", "DEV7"}, {"lati", 47.5}, {"longi", "11.5"}, {"synchronized", "2026-03-02T08:59:00"}}})}},
         201, {{"groupID", "12"}}, {"DEV7  47.500000,11.500000  2026-03-02 08:59"},
         {{"/positions/0/latitude", 47.5}, {"/positions/0/longitude", 11.5}, {"/positions/0/synchronized", "2026-03-02T08:59:00"}}},
        {{"contacts"}, {{501, json{{"Contacts", json::array({userJSON("8", "Bob")})}}}}, 501, {}, {"8  Bob  +491708"},
         {{"/contacts/0/userID", "8"}, {"/contacts/0/account", "email"}}},
        {{"contact", "add", "8"}, {{500, kOk}}, 500, {{"contactID", "8"}}, {"added contact 8"}, {{"/contactID", "8"}}},
        {{"users"}, {{107, json::array({userJSON("8", "Bob"), userJSON("9", "Cem")})}}, 107, {},
         {"8  Bob  +491708", "9  Cem  +491709"}, {{"/users/1/displayName", "Cem"}}},
        {{"chat", "8"}, {{601, messages()}}, 601, {{"toUserID", "8"}},
         {"2026-03-02 08:10  8: see you", "2026-03-02 08:05  7: hi"},
         {{"/messages/0/messageID", "2"}, {"/messages/0/sent", "2026-03-02T08:10:00"}, {"/messages/1/text", "hi"}}},
        {{"chat", "8", "--send", "fish & chips = 100%"}, {{600, kOk}}, 600,
         {{"toUserID", "8"}, {"text", "fish & chips = 100%"}}, {"sent to 8"}, {{"/toUserID", "8"}}},
        {{"phone", "send", "0170 1234"}, {{110, kOk}}, 110, {{"target", "+491701234"}},
         {"code sent to +491701234: run kelpactl phone verify CODE"}, {{"/phoneNumber", "+491701234"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        {
            Harness h;
            auto outcome = runSignedIn(h, c.arguments, c.replies);
            ASSERT_EQ(outcome.code, 0) << outcome.err;
            EXPECT_EQ(outcome.err, "");
            std::string expected;
            for (const auto& line : c.lines) expected += line + "\n";
            EXPECT_NE(outcome.out.find(expected), std::string::npos) << outcome.out;
            auto forms = h.t.http().formsForAction(c.action);
            ASSERT_EQ(forms.size(), c.sent);
            for (const auto& form : forms) {
                EXPECT_EQ(field(form, "userID"), "7");
                for (const auto& [key, value] : c.fields) EXPECT_EQ(field(form, key), value) << key;
            }
        }
        {
            Harness h;
            auto arguments = c.arguments;
            arguments.insert(arguments.begin(), "--json");
            auto outcome = runSignedIn(h, arguments, c.replies);
            ASSERT_EQ(outcome.code, 0) << outcome.err;
            auto document = outcome.document();
            EXPECT_EQ(document["ok"], true);
            for (const auto& [pointer, value] : c.document) {
                EXPECT_EQ(document.value(json::json_pointer(pointer), json()), value) << pointer;
            }
        }
    }
}

TEST(KelpactlOutput, FailuresPrintTheServicesTextAndExitNonZero) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<Reply> replies;
        std::string message;
        int notSent = 0;  // an action that must not go out
    };
    const json closedGroup = [] {
        auto group = groupJSON("12", 1);
        group["endTime"] = "2026-03-01T20:00:00";
        return group;
    }();
    const std::vector<Case> cases = {
        {{"join", "12"}, {{312, groupWithMembers()}, {305, kRefused}}, "not allowed"},
        {{"join", "12"}, {{312, closedGroup}}, "group 12 can be joined only from 2026-03-02 08:00 to 2026-03-01 20:00", 305},
        {{"join", "12"}, {{312, std::nullopt}}, "Unknown Error", 305},
        {{"leave", "12"}, {{308, kRefused}}, "not allowed"},
        {{"leave", "12"}, {{308, std::nullopt}}, "Unknown Error"},
        {{"quickjoin", "apple", "pear"}, {{311, kRefused}}, "not allowed"},
        {{"invite", "12", "8"}, {{306, kRefused}}, "not allowed"},
        {{"contact", "add", "8"}, {{500, kRefused}}, "not allowed"},
        {{"contact", "add", "7"}, {}, "Cannot add self", 500},
        {{"chat", "8", "--send", "hi"}, {{600, kRefused}}, "not allowed"},
        {{"groups"}, {{301, std::nullopt}, {301, std::nullopt}}, "Unknown Error"},
        {{"group", "show", "12"}, {{312, std::nullopt}}, "Unknown Error"},
        {{"group", "show", "12"}, {{312, kRefused}}, "not allowed"},
        {{"join", "12"}, {{312, kRefused}}, "not allowed", 305},
        {{"members", "12"}, {{309, kRefused}}, "Unknown Error"},
        {{"positions", "12"}, {{201, std::nullopt}}, "Unknown Error"},
        {{"contacts"}, {{501, std::nullopt}}, "Unknown Error"},
        {{"users"}, {{107, std::nullopt}}, "Unknown Error"},
        {{"chat", "8"}, {{601, std::nullopt}}, "Unknown error"},
        {{"phone", "send", "0170 1234"}, {{110, json{{"code", 1}}}}, "sending the code failed (code 1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        {
            Harness h;
            auto outcome = runSignedIn(h, c.arguments, c.replies);
            EXPECT_EQ(outcome.code, 1);
            EXPECT_EQ(outcome.err, c.message + "\n");
            EXPECT_EQ(outcome.out, "");
            if (c.notSent) {
                EXPECT_EQ(h.requestsFor(c.notSent), 0u);
            }
        }
        {
            Harness h;
            auto arguments = c.arguments;
            arguments.insert(arguments.begin(), "--json");
            auto outcome = runSignedIn(h, arguments, c.replies);
            EXPECT_EQ(outcome.code, 1);
            EXPECT_EQ(outcome.document(), (json{{"ok", false}, {"error", c.message}}));
        }
    }
}

TEST_F(Kelpactl, PhoneVerificationSavesTheNumberOnlyForTheLatestCode) {
    signedIn("7");
    t.http().queueJSONForAction(110, kOk);
    ASSERT_EQ(run({"phone", "send", "0170 1234"}).code, 0);
    auto sent = t.http().formsForAction(110);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(field(sent[0], "target"), "+491701234");
    const auto code = t.env().preferences->string(cli::PhoneCommands::kCodeKey);
    ASSERT_TRUE(code);
    EXPECT_EQ(field(sent[0], "body"), *code);
    EXPECT_EQ(code->size(), 4u);

    signedIn("7");
    auto wrong = run({"phone", "verify", *code == "1000" ? "1001" : "1000"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_EQ(wrong.err, "code is not equal to code\n");
    EXPECT_EQ(requestsFor(112), 0u);

    signedIn("7");
    t.http().queueJSONForAction(112, kOk);
    auto right = run({"phone", "verify", *code});
    EXPECT_EQ(right.code, 0) << right.err;
    auto saved = t.http().formsForAction(112);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(field(saved[0], "phoneNumber"), "+491701234");
    EXPECT_EQ(field(saved[0], "code"), *code);  // the service checks it against the code it texted
    EXPECT_EQ(t.env().preferences->string(cli::PhoneCommands::kCodeKey), std::nullopt);
}

}  // namespace
