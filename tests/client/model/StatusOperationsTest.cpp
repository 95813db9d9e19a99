// Every operation that reads a status reply, in one table: what it sends, and that only a
// reply without "info" makes its local change. No reply at all is a failure.
#include "ModelFixture.h"

#include "client/model/Waypoint.h"
#include "platform/Image.h"

#include <filesystem>
#include <fstream>
#include <functional>

using namespace kelpa;
using namespace kelpa::testing;

namespace {

struct World : SignedIn {
    std::shared_ptr<Group> group = Group::initWithJSON(groupJSON("17", {memberJSON("5", "17", true, true)}));
    std::shared_ptr<User> nine = User::initWithJSON(userJSON("9"));
};

struct StatusCase {
    const char* name;
    int action;
    std::vector<std::pair<std::string, std::string>> fields;
    std::function<void(World&)> prepare;
    std::function<void(World&, StatusHandler)> call;
    // Whether the operation's local change is visible.
    std::function<bool(World&)> changed;
};

std::filesystem::path localCopy(World& w) { return w.t.env().documentsDirectory / "5.jpg"; }

const std::vector<StatusCase>& statusCases() {
    static const std::vector<StatusCase> cases = {
        {"updateDisplayName", 103, {{"displayName", "Ann B"}}, nullptr,
         [](World& w, StatusHandler h) { w.me->updateDisplayName("Ann B", h); },
         [](World& w) { return w.me->displayName == "Ann B"; }},
        {"updatePhoneNumber", 112, {{"phoneNumber", "+4917612345"}}, nullptr,
         [](World& w, StatusHandler h) { w.me->updatePhoneNumber("+4917612345", h); },
         [](World& w) { return w.me->phoneNumber == "+4917612345"; }},
        {"updateRegistrationCompleted", 113, {{"toUserID", "1"}}, nullptr,
         [](World& w, StatusHandler h) { w.me->updateRegistrationCompleted(true, h); },
         [](World& w) { return w.me->registrationCompleted; }},
        {"addContact", 500, {{"contactID", "9"}}, nullptr,
         [](World& w, StatusHandler h) { w.me->addContact("9", h); },
         [](World& w) { return w.countOf(501) == 1; }},  // the contact list is fetched anew
        {"removeContact", 502, {{"contactID", "9"}}, nullptr,
         [](World& w, StatusHandler h) { w.me->removeContact(w.nine, h); },
         [](World& w) { return w.countOf(501) == 1; }},
        {"deleteProfileImage", 109, {}, [](World& w) { std::ofstream(localCopy(w)) << "jpeg"; },
         [](World& w, StatusHandler h) { w.me->deleteProfileImageWithCompletitionHandler(h); },
         [](World& w) { return !std::filesystem::exists(localCopy(w)); }},
        {"join", 305, {{"groupID", "17"}}, nullptr,
         [](World& w, StatusHandler h) { w.group->joinWithCompletitionHandler(h); },
         [](World& w) { return Group::getJoinedGroup() == w.group; }},
        {"unjoin", 308, {{"groupID", "17"}}, [](World& w) { Group::setJoinedGroup(w.group); },
         [](World& w, StatusHandler h) { w.group->unjoinWithCompletitionHandler(h); },
         [](World&) { return Group::getJoinedGroup() == nullptr; }},
        {"quickJoin", 311, {{"wordOne", "blue whale"}, {"wordTwo", "Kelp&Co"}}, nullptr,
         [](World&, StatusHandler h) { Group::quickJoinWithWordOne("blue whale", "Kelp&Co", h); },
         nullptr},
        {"inviteUser", 306, {{"groupID", "17"}, {"inviteID", "9"}}, nullptr,
         [](World& w, StatusHandler h) { w.group->inviteUser(w.nine, h); }, nullptr},
        {"addWaypoint", 400, {{"groupID", "17"}, {"lati", "52.5"}, {"longi", "13.25"}, {"number", "3"}}, nullptr,
         [](World& w, StatusHandler h) {
             auto waypoint = std::make_shared<Waypoint>();
             waypoint->lati = 52.5;
             waypoint->longi = 13.25;
             waypoint->number = 3;
             w.group->addWaypoint(waypoint, h);
         },
         nullptr},
    };
    return cases;
}

TEST(StatusOperations, SendTheirFieldsAndChangeLocallyOnlyOnSuccess) {
    struct Reply {
        const char* name;
        std::optional<json> body;
        std::int32_t code;
        Info info;
        bool success;
    };
    const Reply replies[] = {
        {"success", json{{"code", 0}}, 0, std::nullopt, true},
        {"success without code", json::object(), 0, std::nullopt, true},
        {"refused", json{{"code", 1}, {"info", "not allowed"}}, 1, "not allowed", false},
        {"no reply", std::nullopt, 1, "Unknown Error", false},
        {"a list", json::array(), 1, "Unknown Error", false},
    };
    for (const auto& c : statusCases()) {
        for (const auto& reply : replies) {
            SCOPED_TRACE(std::string(c.name) + ", " + reply.name);
            World w;
            if (c.prepare) c.prepare(w);
            if (reply.body) w.t.http().queueJSONForAction(c.action, *reply.body);
            StatusCalls status;
            c.call(w, status.handler(w.t));
            EXPECT_TRUE(status.calls.empty());  // nothing before the reply
            w.t.settle();

            ASSERT_EQ(status.calls.size(), 1u);
            EXPECT_EQ(status.calls[0], (StatusCalls::Call{reply.code, reply.info, true}));
            const auto forms = w.sent(c.action);
            ASSERT_EQ(forms.size(), 1u);
            EXPECT_EQ(ownFields(forms[0]).front(), std::make_pair(std::string("action"), std::to_string(c.action)));
            auto fields = ownFields(forms[0]);
            fields.erase(fields.begin());
            EXPECT_EQ(fields, c.fields);
            EXPECT_EQ(FakeHttpClient::field(forms[0], "userID"), "5");
            if (c.changed) {
                EXPECT_EQ(c.changed(w), reply.success);
            }
            // Nothing else is sent, but for the contact list that a contact change fetches anew.
            const bool refetches = c.action == 500 || c.action == 502;
            EXPECT_EQ(w.t.http().count(), 1u + (refetches && reply.success ? 1u : 0u));
        }
    }
}

TEST(StatusOperations, WordsJoinNoGroupAndInvitationsAddNoMember) {
    World w;
    w.t.http().setResponder([](const platform::HttpRequest&) { return FakeHttpClient::json({{"code", 0}}); });
    Group::quickJoinWithWordOne("a", "b", nullptr);
    w.group->inviteUser(w.nine, nullptr);
    w.t.settle();
    EXPECT_EQ(Group::getJoinedGroup(), nullptr);
    EXPECT_EQ(w.group->members->size(), 1u);
}

TEST(StatusOperations, RequestsCarryTheSignedInUserWhateverRecordIsAsked) {
    World w;
    // Another user's record still sends as the signed-in user, and only that record changes.
    w.t.http().queueJSONForAction(103, {{"code", 0}});
    w.nine->updateDisplayName("Nine", nullptr);
    w.t.settle();
    EXPECT_EQ(FakeHttpClient::field(w.sent(103).at(0), "userID"), "5");
    EXPECT_EQ(w.nine->displayName, "Nine");
    EXPECT_EQ(w.me->displayName, "Ann");

    // Nobody signed in: no user field at all rather than an empty one.
    User::setCurrentUser(nullptr);
    w.group->joinWithCompletitionHandler(nullptr);
    w.t.settle();
    EXPECT_FALSE(FakeHttpClient::field(w.sent(305).at(0), "userID"));
}

TEST(StatusOperations, FlagOffIsSentAsZero) {
    World w;
    w.me->registrationCompleted = true;
    w.t.http().queueJSONForAction(113, {{"code", 0}});
    w.me->updateRegistrationCompleted(false, nullptr);
    w.t.settle();
    EXPECT_EQ(FakeHttpClient::field(w.sent(113).at(0), "toUserID"), "0");
    EXPECT_FALSE(w.me->registrationCompleted);
}

TEST(StatusOperations, AWaypointWithoutNumberSendsNone) {
    World w;
    auto waypoint = std::make_shared<Waypoint>();
    waypoint->lati = 1.0;
    waypoint->longi = 2.0;
    w.group->addWaypoint(waypoint, nullptr);
    w.t.settle();
    EXPECT_FALSE(FakeHttpClient::field(w.sent(400).at(0), "number"));
    EXPECT_FALSE(w.group->waypoints->size());  // the group's list is not touched
}

}  // namespace
