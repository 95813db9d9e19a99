// Two installations of the application, without a renderer, sharing positions in one car
// group through the real kelpa-server: each replays its own track, and each live map ends up
// with the other's pin where the other last reported, and none of its own.
#include "HeadlessApp.h"

#include "client/location/MapViewController.h"
#include "client/model/Device.h"
#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/location/TrackLocationProvider.h"
#include "platform/maps/MapDriver.h"
#include "tests/server/TripFixture.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <fstream>

namespace kelpa::e2e {
namespace {

using namespace std::chrono_literals;

struct Point {
    double lat;
    double lon;
};

// A GPX track of points one second apart.
std::filesystem::path writeTrack(const std::filesystem::path& file, const std::vector<Point>& points) {
    std::ofstream out(file);
    out << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>\n";
    for (size_t i = 0; i < points.size(); ++i) {
        out << fmt::format("<trkpt lat=\"{:.6f}\" lon=\"{:.6f}\"><time>2026-12-10T10:00:{:02}Z</time></trkpt>\n",
                           points[i].lat, points[i].lon, i);
    }
    out << "</trkseg></trk></gpx>\n";
    return file;
}

class LiveMap : public server::testing::ServerFixture {
protected:
    std::unique_ptr<HeadlessApp> app(const std::string& name, const std::vector<Point>& track) {
        const auto home = std::filesystem::path(database->directory()) / name;
        auto instance = std::make_unique<HeadlessApp>(home, "http://127.0.0.1:" + std::to_string(server->port()),
                                                      std::make_shared<platform::SimulatedRadio>());
        const auto file = writeTrack(std::filesystem::path(database->directory()) / (name + ".gpx"), track);
        instance->inside([&] { instance->env()->location = platform::TrackLocationProvider::create(file); });
        return instance;
    }

    // Ann and Bob signed up, each app launched and showing the live map.
    void signUpAndOpen(HeadlessApp& ann, HeadlessApp& bob) {
        apps = {&ann, &bob};
        ASSERT_TRUE(ann.signUp("Ann", "+491701110001"));
        ASSERT_TRUE(bob.signUp("Bob", "+491701110002"));
        for (auto* who : apps) {
            who->launch();
            ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] {
                return who->inside([&] { return who->driver().frontmostClass() == "MapViewController"; });
            }));
        }
    }

    // Joins the group and loads its members, so this device's member record is there to report.
    void join(HeadlessApp& who, const std::string& groupID) {
        bool done = false;
        who.inside([&] {
            Group::getGroupFromID(groupID, [&](std::shared_ptr<Group> group, Info) {
                ASSERT_TRUE(group);
                group->joinWithCompletitionHandler([&, group](std::int32_t code, Info) {
                    ASSERT_EQ(code, 0);
                    group->members.reset();
                    group->loadMembersWithCompletitionHandler([&](auto, Info) { done = true; });
                });
            });
        });
        ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] { return done; }));
    }

    static std::optional<double> ownReportedLatitude(HeadlessApp& who) {
        return who.inside([]() -> std::optional<double> {
            auto group = Group::getJoinedGroup();
            auto me = User::getCurrentUser();
            auto member = group && me ? group->getMemberFromUser(*me) : nullptr;
            if (!member || !member->device || !member->device->position) return std::nullopt;
            return member->device->position->lati;
        });
    }

    static std::vector<std::string> pinTitles(HeadlessApp& who) {
        return who.inside([&] {
            std::vector<std::string> titles;
            platform::MapDriver map(who.driver(), "map");
            if (auto view = map.map()) {
                for (const auto& pin : view->annotations()) titles.push_back(pin->title().value_or(""));
            }
            return titles;
        });
    }

    static std::optional<platform::LocationCoordinate2D> pinOf(HeadlessApp& who, const std::string& title) {
        return who.inside([&]() -> std::optional<platform::LocationCoordinate2D> {
            platform::MapDriver map(who.driver(), "map");
            auto pin = map.pin(title);
            if (!pin) return std::nullopt;
            return pin->coordinate();
        });
    }

    std::vector<HeadlessApp*> apps;
};

TEST_P(LiveMap, EachMapShowsTheOtherMemberWhereItLastReported) {
    const std::vector<Point> annTrack{{48.1000, 11.5000}, {48.1010, 11.5010}, {48.1020, 11.5020}};
    const std::vector<Point> bobTrack{{48.2000, 11.6000}, {48.2010, 11.6010}, {48.2020, 11.6020}};
    auto ann = app("ann", annTrack);
    auto bob = app("bob", bobTrack);
    // Both open the app on the live map, signed in at start.
    ASSERT_NO_FATAL_FAILURE(signUpAndOpen(*ann, *bob));

    // Ann makes a car group for today with Bob invited; both join it.
    auto bobUser = bob->inside([] { return User::getCurrentUser(); });
    ASSERT_TRUE(bobUser);
    auto convoy = ann->createGroup("Convoy", 1, {bobUser});
    ASSERT_TRUE(convoy && convoy->groupID);
    const auto groupID = convoy->groupID;

    join(*ann, *groupID);
    join(*bob, *groupID);
    EXPECT_EQ(ann->inside([&] { return ann->driver().text("groupStatus"); }), "Convoy");

    // Both have reported the end of their track...
    ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] {
        return ownReportedLatitude(*ann) == annTrack.back().lat && ownReportedLatitude(*bob) == bobTrack.back().lat;
    }));
    // ...and after a download cycle each map has the other there.
    auto at = [](const std::optional<platform::LocationCoordinate2D>& pin, const Point& point) {
        return pin && pin->latitude == static_cast<float>(point.lat) && pin->longitude == static_cast<float>(point.lon);
    };
    ASSERT_TRUE(HeadlessApp::runUntil(
        apps, [&] { return at(pinOf(*ann, "Bob"), bobTrack.back()) && at(pinOf(*bob, "Ann"), annTrack.back()); },
        30s));
    for (const auto& title : pinTitles(*ann)) EXPECT_NE(title, "Ann");
    for (const auto& title : pinTitles(*bob)) EXPECT_NE(title, "Bob");
    EXPECT_TRUE(ann->logged("Position Updated"));
    EXPECT_TRUE(bob->logged("positions downloaded"));
}

// Signing out from the profile tab while joined leaves the group as the user who joined it: the
// others see the member no longer joined.
TEST_P(LiveMap, SigningOutWhileJoinedLeavesTheGroup) {
    auto ann = app("ann", {{48.1000, 11.5000}});
    auto bob = app("bob", {{48.2000, 11.6000}});
    ASSERT_NO_FATAL_FAILURE(signUpAndOpen(*ann, *bob));
    auto bobUser = bob->inside([] { return User::getCurrentUser(); });
    ASSERT_TRUE(bobUser);
    auto walk = ann->createGroup("Walk", 3, {bobUser});
    ASSERT_TRUE(walk && walk->groupID);
    join(*ann, *walk->groupID);
    join(*bob, *walk->groupID);
    const auto annID = ann->inside([] { return User::getCurrentUser()->userID; });

    // Whether Ann is joined, as Bob's app reads the members from the service now.
    auto annJoinedForBob = [&]() -> std::optional<bool> {
        std::optional<bool> joined;
        bool done = false;
        bob->inside([&] {
            Group::getGroupFromID(*walk->groupID, [&](std::shared_ptr<Group> group, Info) {
                if (!group) {
                    done = true;
                    return;
                }
                group->loadMembersWithCompletitionHandler(
                    [&, group](std::optional<RecordList<Member>> members, Info) {
                        for (const auto& m : members.value_or(RecordList<Member>{})) {
                            if (m->user && m->user->userID == annID) joined = m->joined.has_value();
                        }
                        done = true;
                    },
                    true);
            });
        });
        EXPECT_TRUE(HeadlessApp::runUntil(apps, [&] { return done; }));
        return joined;
    };
    ASSERT_EQ(annJoinedForBob(), true);

    ann->inside([&] {
        ann->driver().pickTab(3);
        ASSERT_EQ(ann->driver().frontmostClass(), "ProfileViewController");
        ASSERT_TRUE(ann->driver().tap("logout"));
    });
    ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] { return ann->inside([] { return !Group::getJoinedGroup(); }); }));
    EXPECT_FALSE(ann->logged("failed to unjoin"));
    EXPECT_EQ(annJoinedForBob(), false);
    EXPECT_EQ(ann->inside([&] { return ann->driver().frontmostClass(); }), "AuthViewController");
}

INSTANTIATE_TEST_SUITE_P(Engines, LiveMap, ::testing::Values("sqlite"), server::testing::engineName);

}  // namespace
}  // namespace kelpa::e2e
