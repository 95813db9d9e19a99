// Missing and invalid arguments end with a usage message and exit code 2 before anything is
// sent, also when a stored user would otherwise be signed in again first.
#include "KelpactlFixture.h"

using namespace kelpa::cli::test;

namespace {

constexpr const char* kGpx = R"(<?xml version="1.0"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>
<trkpt lat="47.0" lon="11.0"><time>2026-03-02T08:00:00Z</time></trkpt>
</trkseg></trk></gpx>)";

TEST_F(Kelpactl, InvalidArgumentsAreUsageErrorsWithoutAnyRequest) {
    signedIn();
    const auto track = writeFile("track.gpx", kGpx).string();
    const auto broken = writeFile("broken.gpx", "<gpx><trk><trkseg><trkpt lat=\"95\" lon=\"0\"/></trkseg></trk></gpx>").string();
    struct Case {
        std::vector<std::string> arguments;
        const char* mentions;  // part of the usage message
    };
    const std::vector<Case> cases = {
        {{}, "subcommand"},
        {{"fly"}, "subcommand"},
        {{"group"}, "subcommand"},
        {{"contact"}, "subcommand"},
        {{"join"}, "id"},
        {{"invite", "12"}, "user"},
        {{"quickjoin", "apple"}, "second"},
        {{"group", "create"}, "--description"},
        {{"group", "create", "--description", "Alps", "--mode", "boat"}, "boat"},
        {{"group", "create", "--description", "Alps", "--waypoint", "91,11"}, "--waypoint"},
        {{"group", "create", "--description", "Alps", "--waypoint", "47.1,11.2", "here"}, "here"},
        {{"group", "create", "--description", "Alps", "--start", "tomorrow"}, "--start"},
        {{"group", "create", "--description", "Alps", "--start", "+2h", "--end", "+1h"}, "after the start"},
        {{"group", "create", "--adhoc", "--mode", "bike"}, "excludes"},
        {{"share", "missing.gpx"}, "missing.gpx"},
        {{"share", broken}, "track"},
        {{"share", track, "--speed", "0"}, "--speed"},
        {{"share", track, "--once", "--duration", "10"}, "excludes"},
        {{"share", track, "--duration", "soon"}, "--duration"},
        {{"chat", "5", "--send", ""}, "--send"},
        {{"phone", "send", " "}, "number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        auto outcome = run(c.arguments);
        EXPECT_EQ(outcome.code, 2);
        EXPECT_NE(outcome.err.find(c.mentions), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("--help"), std::string::npos);
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_EQ(t.http().count(), 0u);
}

TEST_F(Kelpactl, APasswordThatCannotBeReadIsAUsageErrorWithoutAnyRequest) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::optional<std::string> typed;
        std::string input;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no terminal", {"login", "ann@example.org"}, std::nullopt, "", "use --password-stdin"},
        {"empty at the prompt", {"login", "ann@example.org"}, "", "", "must not be empty"},
        {"empty standard input", {"register", "ann@example.org", "Ann", "--password-stdin"}, "secret", "", "no password"},
        {"empty first line", {"register", "ann@example.org", "Ann", "--password-stdin"}, std::nullopt, "\nsecret\n",
         "must not be empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        typedPassword = c.typed;
        auto outcome = run(c.arguments, c.input);
        EXPECT_EQ(outcome.code, 2);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(t.http().count(), 0u);
}

TEST_F(Kelpactl, HelpGoesToStandardOutputAndSucceeds) {
    auto outcome = run({"group", "create", "--help"});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_NE(outcome.out.find("--waypoint"), std::string::npos);
    EXPECT_EQ(t.http().count(), 0u);
}

}  // namespace
