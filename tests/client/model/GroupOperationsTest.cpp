// Group operations: the member and waypoint caches, removal by leadership, creation with its
// follow-ups, invitations and waypoint additions, member removal, join requests.
#include "ModelFixture.h"

#include "client/model/Waypoint.h"
#include "client/service/DateFormat.h"

#include <set>

using namespace kelpa;
using namespace kelpa::testing;

namespace {

std::vector<std::string> memberIDs(const std::optional<RecordList<Member>>& members) {
    std::vector<std::string> result;
    if (members) {
        for (const auto& m : *members) result.push_back(m->user->userID.value_or("?"));
    }
    return result;
}

TEST(MembersLoad, AGroupFromJSONWithoutMembersAnswersAtOnceWithAnEmptyList) {
    SignedIn w;
    auto group = Group::initWithJSON({{"groupID", "17"}});
    ListCalls<Member> calls;
    group->loadMembersWithCompletitionHandler(calls.handler());
    calls.returned = true;
    w.t.settle();
    ASSERT_EQ(calls.calls.size(), 1u);
    EXPECT_TRUE(calls.calls[0].synchronous);
    ASSERT_TRUE(calls.calls[0].list);
    EXPECT_TRUE(calls.calls[0].list->empty());
    EXPECT_EQ(w.t.http().count(), 0u);
}

TEST(MembersLoad, ReloadingDeliversTheHeldListThenTheFreshOneOrTheError) {
    struct Case {
        const char* name;
        std::optional<json> reply;
        std::vector<std::vector<std::string>> lists;  // each delivery's members; empty inner = none
        Info lastError;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"fresh", json::array({memberJSON("5", "17", true), memberJSON("8", "17", false)}),
         {{"5", "6"}, {"5", "8"}}, std::nullopt, {"5", "8"}},
        {"no reply", std::nullopt, {{"5", "6"}, {}}, "Unknown Error", {"5", "6"}},
        {"an envelope", json{{"code", 1}, {"info", "not a member"}}, {{"5", "6"}, {}}, "Unknown Error", {"5", "6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SignedIn w;
        auto group = Group::initWithJSON(groupJSON("17", {memberJSON("5", "17", true), memberJSON("6", "17", false)}));
        auto held = group->members;
        if (c.reply) w.t.http().queueJSONForAction(309, *c.reply);
        ListCalls<Member> calls;
        group->loadMembersWithCompletitionHandler(calls.handler(), true);
        calls.returned = true;
        w.t.settle();
        ASSERT_EQ(calls.calls.size(), 2u);
        EXPECT_TRUE(calls.calls[0].synchronous);
        EXPECT_FALSE(calls.calls[1].synchronous);
        EXPECT_EQ(memberIDs(calls.calls[0].list), c.lists[0]);
        EXPECT_EQ(memberIDs(calls.calls[1].list), c.lists[1]);
        EXPECT_EQ(calls.calls[1].error, c.lastError);
        EXPECT_EQ(memberIDs(group->members), c.after);
        EXPECT_EQ(ownFields(w.sent(309).at(0)),
                  (std::vector<std::pair<std::string, std::string>>{{"action", "309"}, {"groupID", "17"}}));
        if (!c.reply) {
            EXPECT_EQ((*group->members)[0], (*held)[0]);  // the very same records stay
        }
    }
}

TEST(MembersLoad, ALocalGroupFetchesEvenWithoutReloading) {
    SignedIn w;
    auto group = std::make_shared<Group>();
    group->groupID = "17";
    w.t.http().queueJSONForAction(309, json::array({memberJSON("5", "17", true)}));
    ListCalls<Member> calls;
    group->loadMembersWithCompletitionHandler(calls.handler());
    calls.returned = true;
    w.t.settle();
    ASSERT_EQ(calls.calls.size(), 1u);
    EXPECT_EQ(memberIDs(calls.calls[0].list), (std::vector<std::string>{"5"}));
    EXPECT_EQ(memberIDs(group->members), (std::vector<std::string>{"5"}));
}

TEST(WaypointsLoad, OnlyReloadingFetches) {
    SignedIn w;
    auto local = std::make_shared<Group>();
    local->groupID = "17";
    ListCalls<Waypoint> notReloading;
    local->loadWaypointsWithCompletitionHandler(notReloading.handler());
    notReloading.returned = true;
    ASSERT_EQ(notReloading.calls.size(), 1u);
    EXPECT_TRUE(notReloading.calls[0].synchronous);
    EXPECT_FALSE(notReloading.calls[0].list);  // a local group has none
    EXPECT_FALSE(notReloading.calls[0].error);
    w.t.settle();
    EXPECT_EQ(w.t.http().count(), 0u);

    w.t.http().queueJSONForAction(401, json::array({{{"waypointID", 1}, {"number", 2}, {"groupID", 17}}}));
    ListCalls<Waypoint> reloading;
    local->loadWaypointsWithCompletitionHandler(reloading.handler(), true);
    reloading.returned = true;
    w.t.settle();
    ASSERT_EQ(reloading.calls.size(), 1u);  // no held list delivered first
    ASSERT_EQ(reloading.calls[0].list->size(), 1u);
    EXPECT_EQ((*reloading.calls[0].list)[0]->waypointID, "1");
    EXPECT_EQ(local->waypoints, reloading.calls[0].list);

    ListCalls<Waypoint> lost;
    local->loadWaypointsWithCompletitionHandler(lost.handler(), true);
    w.t.settle();
    ASSERT_EQ(lost.calls.size(), 1u);
    EXPECT_FALSE(lost.calls[0].list);
    EXPECT_EQ(lost.calls[0].error, "Unknown error");  // lower-case e, unlike the other loads
    EXPECT_EQ(local->waypoints->size(), 1u);
    EXPECT_EQ(ownFields(w.sent(401).at(0)),
              (std::vector<std::pair<std::string, std::string>>{{"action", "401"}, {"groupID", "17"}}));
}

TEST(RemoveGroup, LeaderDeletesOthersLeaveByLeadershipAtCallTime) {
    struct Case {
        const char* name;
        bool leads;
        std::optional<json> reply;
        int action;
        bool reloadsGroups;
        StatusCalls::Call outcome;
    };
    const Case cases[] = {
        {"leader", true, json{{"code", 0}}, 303, true, {0, std::nullopt, true}},
        {"member", false, json{{"code", 0}}, 302, true, {0, std::nullopt, true}},
        {"refused", true, json{{"code", 1}, {"info", "no"}}, 303, false, {1, "no", true}},
        {"no reply", false, std::nullopt, 302, false, {1, "Unknown Error", true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SignedIn w;
        auto group = Group::initWithJSON(groupJSON("17", {memberJSON("5", "17", true, c.leads)}));
        if (c.reply) w.t.http().queueJSONForAction(c.action, *c.reply);
        StatusCalls calls;
        group->removeGroupWithCompletitionHandler(calls.handler(w.t));
        // Leadership changing after the call does not change the action.
        (*group->members)[0]->isLeader = !c.leads;
        w.t.settle();
        EXPECT_EQ(calls.calls, std::vector<StatusCalls::Call>{c.outcome});
        ASSERT_EQ(w.countOf(c.action), 1u);
        EXPECT_EQ(w.countOf(c.action == 303 ? 302 : 303), 0u);
        EXPECT_EQ(FakeHttpClient::field(w.sent(c.action)[0], "groupID"), "17");
        EXPECT_EQ(w.countOf(301), c.reloadsGroups ? 1u : 0u);
    }
}

struct CreationOutcome {
    int calls = 0;
    std::int32_t code = -1;
    Info wordOne, wordTwo, info;
};

Group::CreationHandler recordCreation(CreationOutcome& out) {
    return [&out](std::int32_t code, Info one, Info two, Info info) {
        ++out.calls;
        out.code = code;
        out.wordOne = std::move(one);
        out.wordTwo = std::move(two);
        out.info = std::move(info);
    };
}

TEST(AdhocGroup, DescribesItselfAndLastsOneYear) {
    SignedIn w;
    auto group = std::make_shared<Group>();
    w.t.http().queueJSONForAction(300, {{"code", 0}, {"groupID", 44}, {"wordOne", "kelp"}, {"wordTwo", "otter"}});
    CreationOutcome out;
    Group::newAdhocGroup(group, recordCreation(out));
    // Filled on the calling thread, before any reply.
    EXPECT_EQ(group->jDescription, "ad hoc group from Ann");
    EXPECT_EQ(group->GroupType, 1);
    w.t.settle();

    ASSERT_EQ(w.sent(300).size(), 1u);
    EXPECT_EQ(ownFields(w.sent(300)[0]), (std::vector<std::pair<std::string, std::string>>{
                                             {"action", "300"},
                                             {"description", "ad hoc group from Ann"},
                                             {"startTime", "2026-03-02T09:00:00"},
                                             {"endTime", "2027-03-02T09:00:00"},
                                             {"groupType", "1"}}));
    EXPECT_EQ(out.calls, 1);
    EXPECT_EQ(std::make_tuple(out.code, out.wordOne, out.wordTwo, out.info),
              std::make_tuple(0, Info("kelp"), Info("otter"), Info()));
    EXPECT_EQ(group->groupID, "44");
    EXPECT_EQ(group->wordOne, "kelp");
    EXPECT_EQ(group->wordTwo, "otter");
    EXPECT_EQ(Group::getJoinedGroup(), nullptr);
    EXPECT_EQ(w.t.http().count(), 1u);  // no follow-ups for an ad hoc group
}

TEST(AdhocGroup, AStartOnLeapDayEndsOnTheTwentyEighth) {
    SignedIn w;
    w.t.loop().runFor(std::chrono::hours(24 * (365 + 364)));  // 2028-02-29 09:00, a leap day
    auto group = std::make_shared<Group>();
    Group::newAdhocGroup(group, nullptr);
    w.t.settle();
    EXPECT_EQ(FakeHttpClient::field(w.sent(300).at(0), "startTime"), "2028-02-29T09:00:00");
    EXPECT_EQ(FakeHttpClient::field(w.sent(300).at(0), "endTime"), "2029-02-28T09:00:00");
}

TEST(NewGroup, SuccessStartsInvitationsAndWaypointsThenReloadsBoth) {
    SignedIn w;
    auto group = std::make_shared<Group>();
    group->jDescription = "Alps";
    group->GroupType = 2;
    group->startTime = DateFormat::parseWire("2026-04-01T08:00:00");
    group->endTime = DateFormat::parseWire("2026-04-03T18:30:00");
    RecordList<User> users{User::initWithJSON(userJSON("8")), User::initWithJSON(userJSON("9"))};
    RecordList<Waypoint> waypoints;
    for (int i = 1; i <= 2; ++i) {
        auto waypoint = std::make_shared<Waypoint>();
        waypoint->lati = 47.0 + i;
        waypoint->longi = 11.5;
        waypoint->number = i;
        waypoints.push_back(waypoint);
    }
    w.t.http().queueJSONForAction(300, {{"groupID", "44"}, {"wordOne", "a"}, {"wordTwo", "b"}});
    w.t.http().setResponder([](const platform::HttpRequest&) { return FakeHttpClient::json({{"code", 0}}); });
    w.t.http().queueJSONForAction(309, json::array({memberJSON("5", "44", false, true)}));
    w.t.http().queueJSONForAction(401, json::array({{{"waypointID", "w1"}, {"number", 1}}}));
    CreationOutcome out;
    Group::newGroup(group, users, waypoints, recordCreation(out));
    w.t.settle();

    EXPECT_EQ(out.calls, 1);
    EXPECT_EQ(std::make_tuple(out.code, out.wordOne, out.wordTwo, out.info),
              std::make_tuple(0, Info("a"), Info("b"), Info()));
    EXPECT_EQ(ownFields(w.sent(300).at(0)), (std::vector<std::pair<std::string, std::string>>{
                                                {"action", "300"},
                                                {"description", "Alps"},
                                                {"startTime", "2026-04-01T08:00:00"},
                                                {"endTime", "2026-04-03T18:30:00"},
                                                {"groupType", "2"}}));
    const auto invites = w.sent(306);
    ASSERT_EQ(invites.size(), 2u);
    std::set<std::string> invited;
    for (const auto& form : invites) {
        EXPECT_EQ(FakeHttpClient::field(form, "groupID"), "44");
        invited.insert(*FakeHttpClient::field(form, "inviteID"));
    }
    EXPECT_EQ(invited, (std::set<std::string>{"8", "9"}));
    const auto additions = w.sent(400);
    ASSERT_EQ(additions.size(), 2u);
    std::set<std::string> numbers;
    for (const auto& form : additions) {
        EXPECT_EQ(FakeHttpClient::field(form, "groupID"), "44");
        numbers.insert(*FakeHttpClient::field(form, "number"));
    }
    EXPECT_EQ(numbers, (std::set<std::string>{"1", "2"}));
    EXPECT_EQ(w.countOf(309), 1u);
    EXPECT_EQ(w.countOf(401), 1u);
    EXPECT_EQ(memberIDs(group->members), (std::vector<std::string>{"5"}));
    ASSERT_TRUE(group->waypoints);
    EXPECT_EQ((*group->waypoints)[0]->waypointID, "w1");
}

TEST(NewGroup, NothingToInviteOrAddStillReloadsBoth) {
    SignedIn w;
    auto group = std::make_shared<Group>();
    group->jDescription = "solo";
    w.t.http().queueJSONForAction(300, {{"groupID", "44"}, {"wordOne", "a"}, {"wordTwo", "b"}});
    Group::newGroup(group, {}, {}, nullptr);
    w.t.settle();
    EXPECT_EQ(w.countOf(306) + w.countOf(400), 0u);
    EXPECT_EQ(w.countOf(309), 1u);
    EXPECT_EQ(w.countOf(401), 1u);
}

TEST(NewGroup, FailureOrNoReplyStartsNothingAndStoresNothing) {
    for (const auto& reply : {std::optional<json>(json{{"code", 1}, {"info", "bad dates"}}), std::optional<json>()}) {
        SignedIn w;
        auto group = std::make_shared<Group>();
        group->jDescription = "x";
        if (reply) w.t.http().queueJSONForAction(300, *reply);
        CreationOutcome out;
        Group::newGroup(group, {User::initWithJSON(userJSON("8"))}, {std::make_shared<Waypoint>()},
                        recordCreation(out));
        w.t.settle();
        EXPECT_EQ(out.calls, 1);
        EXPECT_EQ(out.code, 1);
        EXPECT_EQ(out.info, reply ? "bad dates" : "Unknown Error");
        EXPECT_FALSE(out.wordOne);
        EXPECT_FALSE(out.wordTwo);
        EXPECT_FALSE(group->groupID);
        EXPECT_FALSE(group->wordOne);
        EXPECT_EQ(w.t.http().count(), 1u);
    }
}

TEST(NewGroup, AFailedInvitationIsLoggedAndReloadsNothingMore) {
    SignedIn w;
    auto group = std::make_shared<Group>();
    group->jDescription = "x";
    w.t.http().queueJSONForAction(300, {{"groupID", "44"}, {"wordOne", "a"}, {"wordTwo", "b"}});
    w.t.http().queueJSONForAction(306, {{"code", 1}, {"info", "user 8 unknown"}});
    Group::newGroup(group, {User::initWithJSON(userJSON("8"))}, {}, nullptr);
    w.t.settle();
    EXPECT_TRUE(w.t.logged("user 8 unknown"));
    EXPECT_EQ(w.countOf(309), 1u);  // only the one started after all invitations went out
}

TEST(Invitations, ReportZeroOnceAtOnceThenEachFailureWithCodeOne) {
    SignedIn w;
    auto group = Group::initWithJSON(groupJSON("17"));
    w.t.http().setResponder([](const platform::HttpRequest& request) {
        const auto id = FakeHttpClient::field(platform::FormEncoding::decode(request.body), "inviteID");
        if (id == "1") return FakeHttpClient::json({{"code", 1}, {"info", "no such user"}});
        if (id == "2") return FakeHttpClient::json({{"code", 2}, {"info", "already invited"}});
        return FakeHttpClient::json({{"code", 0}});
    });
    StatusCalls calls;
    group->inviteUsers({User::initWithJSON(userJSON("1")), User::initWithJSON(userJSON("2")),
                        User::initWithJSON(userJSON("3"))},
                       calls.handler(w.t));
    ASSERT_EQ(calls.calls.size(), 1u);  // before any invitation has finished
    EXPECT_EQ(calls.calls[0].code, 0);
    EXPECT_FALSE(calls.calls[0].info);
    w.t.settle();
    // Only code 1 is passed on; code 2 is not.
    ASSERT_EQ(calls.calls.size(), 2u);
    EXPECT_EQ(calls.calls[1], (StatusCalls::Call{1, "no such user", true}));
    EXPECT_EQ(w.countOf(306), 3u);
}

TEST(Invitations, NoReplyCountsAsAFailedInvitation) {
    SignedIn w;
    auto group = Group::initWithJSON(groupJSON("17"));
    StatusCalls calls;
    group->inviteUsers({User::initWithJSON(userJSON("1"))}, calls.handler(w.t));
    w.t.settle();
    ASSERT_EQ(calls.calls.size(), 2u);
    EXPECT_EQ(calls.calls[1], (StatusCalls::Call{1, "Unknown Error", true}));
}

TEST(WaypointAdditions, ReportZeroAtOnceThenCodeOneWithoutInfoPerFailure) {
    SignedIn w;
    auto group = Group::initWithJSON(groupJSON("17"));
    w.t.http().setResponder([](const platform::HttpRequest& request) {
        const auto number = FakeHttpClient::field(platform::FormEncoding::decode(request.body), "number");
        if (number == "1") return FakeHttpClient::json({{"code", 1}, {"info", "out of range"}});
        return FakeHttpClient::json({{"code", 0}});
    });
    RecordList<Waypoint> waypoints;
    for (int i = 1; i <= 3; ++i) {
        auto waypoint = std::make_shared<Waypoint>();
        waypoint->lati = i;
        waypoint->longi = i;
        waypoint->number = i;
        waypoints.push_back(waypoint);
    }
    StatusCalls calls;
    group->addWaypoints(waypoints, calls.handler(w.t));
    ASSERT_EQ(calls.calls.size(), 1u);
    EXPECT_EQ(calls.calls[0].code, 0);
    w.t.settle();
    ASSERT_EQ(calls.calls.size(), 2u);
    EXPECT_EQ(calls.calls[1].code, 1);
    EXPECT_FALSE(calls.calls[1].info);
    EXPECT_EQ(w.countOf(400), 3u);
    EXPECT_TRUE(group->waypoints->empty());
}

TEST(MemberRemoval, SuccessFetchesTheMembersAnewBeforeTheHandler) {
    struct Case {
        const char* name;
        std::optional<json> reply;
        bool passGroup;
        StatusCalls::Call outcome;
        std::vector<std::string> membersInHandler;
    };
    const Case cases[] = {
        {"success", json{{"code", 0}}, true, {0, std::nullopt, true}, {"5"}},
        {"success, group found by identifier", json{{"code", 0}}, false, {0, std::nullopt, true}, {"5"}},
        {"refused", json{{"code", 1}, {"info", "not the leader"}}, true, {1, "not the leader", true}, {"5", "6"}},
        {"no reply", std::nullopt, true, {1, "Unknown Error", true}, {"5", "6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SignedIn w;
        auto group = Group::initWithJSON(
            groupJSON("17", {memberJSON("5", "17", true, true), memberJSON("6", "17", false)}));
        w.me->groups = RecordList<Group>{group};
        if (c.reply) w.t.http().queueJSONForAction(307, *c.reply);
        w.t.http().queueJSONForAction(309, json::array({memberJSON("5", "17", true, true)}));
        StatusCalls calls;
        std::vector<std::string> seen;
        (*group->members)[1]->removeMemberFromGroupWithCompletitionHandler(
            [&, h = calls.handler(w.t)](std::int32_t code, Info info) {
                seen = memberIDs(group->members);
                h(code, info);
            },
            c.passGroup ? group : nullptr);
        w.t.settle();
        EXPECT_EQ(calls.calls, std::vector<StatusCalls::Call>{c.outcome});
        EXPECT_EQ(seen, c.membersInHandler);
        EXPECT_EQ(ownFields(w.sent(307).at(0)), (std::vector<std::pair<std::string, std::string>>{
                                                    {"action", "307"}, {"removeID", "6"}, {"groupID", "17"}}));
        EXPECT_EQ(w.countOf(309), c.outcome.code == 0 ? 1u : 0u);
    }
}

TEST(JoinRequest, HandsOverTheInfoOnly) {
    struct Case {
        std::optional<json> reply;
        Info info;
    };
    const Case cases[] = {
        {json{{"code", 0}}, std::nullopt},
        {json{{"code", 1}, {"info", "leader is away"}}, "leader is away"},
        {std::nullopt, "Unknown Error"},  // no reply is no admission request made
    };
    for (const auto& c : cases) {
        SignedIn w;
        auto group = Group::initWithJSON(groupJSON("17"));
        if (c.reply) w.t.http().queueJSONForAction(313, *c.reply);
        std::vector<Info> got;
        group->requestGroupJoin([&](Info info) { got.push_back(info); });
        w.t.settle();
        EXPECT_EQ(got, std::vector<Info>{c.info});
        EXPECT_EQ(FakeHttpClient::field(w.sent(313).at(0), "groupID"), "17");
    }
}

TEST(LeaderImage, IsNone) { EXPECT_EQ(Group::getLeaderImage(), nullptr); }

}  // namespace
