// share: a tiny track replayed on the virtual clock; reports in track order at the track's
// pace, downloads on the travel mode's interval.
#include "KelpactlFixture.h"

#include "platform/FormEncoding.h"

using namespace kelpa;
using namespace kelpa::cli::test;

namespace {

// Three fixes at 0 s, 5 s and 25 s.
constexpr const char* kTrack = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="kelpa tests" xmlns="http://www.topografix.com/GPX/1/1">
  <trk><trkseg>
    <trkpt lat="47.5" lon="11.25"><time>2026-03-02T08:00:00Z</time></trkpt>
    <trkpt lat="47.51" lon="11.26"><time>2026-03-02T08:00:05Z</time></trkpt>
    <trkpt lat="47.52" lon="11.27"><time>2026-03-02T08:00:25Z</time></trkpt>
  </trkseg></trk>
</gpx>)";

const json kOk = {{"code", 0}};

json bobsPosition() {
    return json::array({{{"deviceID", "DEV8"}, {"lati", 47.2}, {"longi", 11.3}, {"synchronized", "2026-03-02T08:59:00"}}});
}

json sharingGroup(int type, bool annJoined = true) {
    return groupJSON("12", type, json::array({memberJSON("7", "Ann", "12", annJoined, true), memberJSON("8", "Bob", "12", true)}));
}

std::optional<int> actionOf(const platform::HttpRequest& request) {
    auto value = field(platform::FormEncoding::decode(request.body), "action");
    return value ? std::optional<int>(std::stoi(*value)) : std::nullopt;
}

class Share : public Kelpactl {
protected:
    std::string track;
    json reportReply = kOk;

    void SetUp() override {
        track = writeFile("track.gpx", kTrack).string();
        signedIn("7");
        // Reports and downloads as often as they come.
        t.http().setResponder([this](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
            const auto action = actionOf(request);
            if (action == 200) return platform::FakeHttpClient::json(reportReply);
            if (action == 201) return platform::FakeHttpClient::json(bobsPosition());
            return std::nullopt;
        });
    }

    // The user's groups, for the load at sign-in and the one of `share`.
    void groupsAre(const json& groups) {
        t.http().queueJSONForAction(301, groups);
        t.http().queueJSONForAction(301, groups);
    }
};

// The local times of the loop's entries.
std::vector<std::string> times(const json& entries) {
    std::vector<std::string> result;
    for (const auto& entry : entries) result.push_back(entry["time"].get<std::string>().substr(11));
    return result;
}

TEST(ShareTrack, ReportsTheTrackInOrderAndDownloadsOnTheTravelModesInterval) {
    struct Case {
        const char* name;
        int type;
        std::vector<std::string> options;
        std::vector<std::string> reports;    // local times of the reports
        std::vector<std::string> downloads;  // local times of the downloads
    };
    const std::vector<Case> cases = {
        {"car", 1, {}, {"09:00:00", "09:00:05", "09:00:25"}, {"09:00:10", "09:00:20", "09:00:25"}},
        {"bike", 2, {}, {"09:00:00", "09:00:05", "09:00:25"}, {"09:00:20", "09:00:25"}},
        {"pedestrian", 3, {}, {"09:00:00", "09:00:05", "09:00:25"}, {"09:00:25"}},
        {"five times as fast", 1, {"--speed", "5"}, {"09:00:00", "09:00:01", "09:00:05"}, {"09:00:05"}},
        {"for 45 s", 1, {"--duration", "45s"}, {"09:00:00", "09:00:05", "09:00:25"},
         {"09:00:10", "09:00:20", "09:00:30", "09:00:40"}},
        {"once", 1, {"--once"}, {"09:00:00"}, {"09:00:00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.signedIn("7");
        const auto path = h.writeFile("track.gpx", kTrack).string();
        h.t.http().queueJSONForAction(301, json::array({sharingGroup(c.type)}));
        h.t.http().queueJSONForAction(301, json::array({sharingGroup(c.type)}));
        h.t.http().setResponder([](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
            const auto action = actionOf(request);
            if (action == 200) return platform::FakeHttpClient::json(kOk);
            if (action == 201) return platform::FakeHttpClient::json(bobsPosition());
            return std::nullopt;
        });
        std::vector<std::string> arguments = {"--json", "share", path};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        auto outcome = h.run(arguments);
        ASSERT_EQ(outcome.code, 0) << outcome.err;
        auto document = outcome.document();
        EXPECT_EQ(times(document["reports"]), c.reports);
        EXPECT_EQ(times(document["downloads"]), c.downloads);

        const std::vector<std::pair<std::string, std::string>> track = {{"47.5", "11.25"}, {"47.51", "11.26"}, {"47.52", "11.27"}};
        auto reports = h.t.http().formsForAction(200);
        ASSERT_EQ(reports.size(), c.reports.size());
        for (size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(field(reports[i], "lati"), track[i].first) << i;
            EXPECT_EQ(field(reports[i], "longi"), track[i].second) << i;
            EXPECT_EQ(field(reports[i], "userID"), "7");
        }
        for (const auto& form : h.t.http().formsForAction(201)) EXPECT_EQ(field(form, "groupID"), "12");
        EXPECT_EQ(h.requestsFor(201), c.downloads.size());
    }
}

TEST_F(Share, PrintsReportsAndTheMembersPositionsAsText) {
    groupsAre(json::array({sharingGroup(1)}));
    auto outcome = run({"share", track, "--once"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "09:00:00 sharing in group 12 (Trip 12, car): 3 positions, positions every 10 s\n"
              "09:00:00 reported 47.500000,11.250000\n"
              "09:00:00 positions:\n"
              "  DEV8  47.200000,11.300000  2026-03-02 08:59  Bob\n"
              "09:00:00 done: 1 reports, 1 downloads\n");
}

TEST_F(Share, WithAGroupJoinsItAndReloadsTheMembersFirst) {
    t.http().queueJSONForAction(312, sharingGroup(1, false));
    t.http().queueJSONForAction(305, kOk);
    t.http().queueJSONForAction(309, sharingGroup(1)["Members"]);
    auto outcome = run({"share", track, "--group", "12", "--once"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    std::vector<std::string> actions;
    for (const auto& form : t.http().forms()) {
        auto action = field(form, "action").value_or("?");
        if (action != "101" && action != "301") actions.push_back(action);
    }
    EXPECT_EQ(actions, (std::vector<std::string>{"312", "305", "309", "200", "201"}));
    EXPECT_EQ(field(t.http().formsForAction(305)[0], "groupID"), "12");
}

TEST(ShareTrack, EndsWithoutReportingWhenThisUserSharesInNoGroup) {
    struct Case {
        const char* name;
        json groups;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"no joined group", json::array({sharingGroup(1, false)}), "no group joined: run kelpactl join ID, or share --group ID"},
        {"no groups", json::array(), "no group joined: run kelpactl join ID, or share --group ID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.signedIn("7");
        h.t.http().queueJSONForAction(301, c.groups);
        h.t.http().queueJSONForAction(301, c.groups);
        auto outcome = h.run({"share", h.writeFile("track.gpx", kTrack).string()});
        EXPECT_EQ(outcome.code, 1);
        EXPECT_EQ(outcome.err, c.message + "\n");
        EXPECT_EQ(h.requestsFor(200), 0u);
    }
}

TEST_F(Share, AFailedReportIsPrintedAndTheLoopGoesOnButEndsWithFailure) {
    groupsAre(json::array({sharingGroup(1)}));
    reportReply = {{"code", 1}, {"info", "not a member"}};
    auto outcome = run({"share", track, "--speed", "5"});
    EXPECT_EQ(outcome.code, 1);
    EXPECT_NE(outcome.err.find("09:00:00 report of 47.500000,11.250000 failed: not a member"), std::string::npos)
        << outcome.err;
    EXPECT_EQ(requestsFor(200), 3u);
    EXPECT_NE(outcome.out.find("done: 3 reports, 1 downloads, some failed"), std::string::npos) << outcome.out;
}

}  // namespace
