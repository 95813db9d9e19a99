// group create: what the creation sends with its invitations and waypoints, and what it prints.
#include "KelpactlFixture.h"

#include "platform/Log.h"

#include <set>
#include <tuple>

using namespace kelpa;
using namespace kelpa::cli::test;

namespace {

const json kCreated = {{"groupID", 55}, {"wordOne", "apple"}, {"wordTwo", "pear"}};
const json kOk = {{"code", 0}};

TEST_F(Kelpactl, APlannedGroupSendsItsWindowInvitationsAndNumberedWaypoints) {
    signedIn("7");
    t.http().queueJSONForAction(300, kCreated);
    for (int i = 0; i < 2; ++i) {
        t.http().queueJSONForAction(306, kOk);
        t.http().queueJSONForAction(400, kOk);
    }
    auto outcome = run({"group", "create", "--description", "Alps & more", "--mode", "bike", "--start",
                        "2026-03-02T10:00:00", "--end", "+1d", "--invite", "8", "9", "--waypoint", "47.1,11.2",
                        "--waypoint", "47.3, 11.4"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "created group 55 (Alps & more)\nsecret words: apple pear\n");

    auto created = t.http().formsForAction(300);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(field(created[0], "description"), "Alps & more");
    EXPECT_EQ(field(created[0], "groupType"), "2");
    EXPECT_EQ(field(created[0], "startTime"), "2026-03-02T10:00:00");
    EXPECT_EQ(field(created[0], "endTime"), "2026-03-03T09:00:00");  // a day after the test's 09:00

    // The follow-ups run on their own queues, so only their set is fixed, not their order.
    std::set<std::string> invited;
    for (const auto& form : t.http().formsForAction(306)) {
        EXPECT_EQ(field(form, "groupID"), "55");
        invited.insert(field(form, "inviteID").value_or("?"));
    }
    EXPECT_EQ(invited, (std::set<std::string>{"8", "9"}));
    std::set<std::tuple<std::string, std::string, std::string>> waypoints;
    for (const auto& form : t.http().formsForAction(400)) {
        EXPECT_EQ(field(form, "groupID"), "55");
        waypoints.emplace(field(form, "number").value_or("?"), field(form, "lati").value_or("?"),
                          field(form, "longi").value_or("?"));
    }
    EXPECT_EQ(waypoints, (std::set<std::tuple<std::string, std::string, std::string>>{{"1", "47.1", "11.2"},
                                                                                      {"2", "47.3", "11.4"}}));
}

TEST_F(Kelpactl, DefaultsAreACarGroupForOneDayFromNow) {
    signedIn("7");
    t.http().queueJSONForAction(300, kCreated);
    auto outcome = run({"--json", "group", "create", "--description", "Alps"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    auto created = t.http().formsForAction(300);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(field(created[0], "groupType"), "1");
    EXPECT_EQ(field(created[0], "startTime"), "2026-03-02T09:00:00");
    EXPECT_EQ(field(created[0], "endTime"), "2026-03-03T09:00:00");
    EXPECT_EQ(requestsFor(306), 0u);
    EXPECT_EQ(requestsFor(400), 0u);
    auto document = outcome.document();
    EXPECT_EQ(document["groupID"], "55");
    EXPECT_EQ(document["wordOne"], "apple");
    EXPECT_EQ(document["wordTwo"], "pear");
    EXPECT_EQ(document["group"]["end"], "2026-03-03T09:00:00");
}

TEST_F(Kelpactl, AnAdhocGroupIsNamedAfterTheUserAndOpenForAYear) {
    signedIn("7");
    t.http().queueJSONForAction(300, kCreated);
    auto outcome = run({"group", "create", "--adhoc"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    auto created = t.http().formsForAction(300);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(field(created[0], "description"), "ad hoc group from Ann");
    EXPECT_EQ(field(created[0], "groupType"), "1");
    EXPECT_EQ(field(created[0], "startTime"), "2026-03-02T09:00:00");
    EXPECT_EQ(field(created[0], "endTime"), "2027-03-02T09:00:00");
    EXPECT_EQ(outcome.out, "created group 55 (ad hoc group from Ann)\nsecret words: apple pear\n");
}

TEST_F(Kelpactl, ARefusedCreationPrintsTheReasonAndSendsNoFollowUps) {
    signedIn("7");
    t.http().queueJSONForAction(300, {{"code", 1}, {"info", "too many groups"}});
    auto outcome = run({"group", "create", "--description", "Alps", "--invite", "8", "--waypoint", "47.1,11.2"});
    EXPECT_EQ(outcome.code, 1);
    EXPECT_EQ(outcome.err, "too many groups\n");
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(requestsFor(306), 0u);
    EXPECT_EQ(requestsFor(400), 0u);
}

}  // namespace

namespace {

// The model logs a failed invitation of a new group; only --verbose shows it.
TEST(KelpactlVerbose, DiagnosticLinesGoToStandardErrorOnlyWhenAskedFor) {
    for (const bool verbose : {false, true}) {
        SCOPED_TRACE(verbose);
        Harness h;
        h.signedIn("7");
        h.t.http().queueJSONForAction(300, kCreated);
        h.t.http().queueJSONForAction(306, {{"code", 1}, {"info", "no such user"}});
        std::vector<std::string> arguments = {"group", "create", "--description", "Alps", "--invite", "99"};
        if (verbose) arguments.insert(arguments.begin(), "--verbose");
        auto outcome = h.run(arguments);
        EXPECT_EQ(outcome.code, 0) << outcome.err;
        EXPECT_EQ(outcome.err, verbose ? "no such user\n" : "");
        // The caller's own log sink is back afterwards.
        kelpa::platform::log("after the run");
        EXPECT_TRUE(h.t.logged("after the run"));
    }
}

}  // namespace
