#include "TestEnvironment.h"
#include "TrackFiles.h"

#include "platform/location/LocationAccuracy.h"
#include "platform/location/TrackLocationProvider.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelpa::platform {
namespace {

using namespace std::chrono_literals;

// What one listener heard: when (time since the test began) and where (metres north).
struct Heard {
    std::chrono::milliseconds at;
    long metres;
    bool operator==(const Heard&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Heard& h) { return out << h.metres << "m@" << h.at.count() << "ms"; }

class TrackLocationProviderTest : public ::testing::Test {
protected:
    LocationProvider::SubscriptionId listen(TrackLocationProvider& provider, std::vector<Heard>& heard) {
        return provider.subscribe(
            kCLLocationAccuracyBest,
            [this, &heard](const Location& fix) {
                // A replayed fix is stamped with the time it was reached, which is now unless
                // it is the current fix handed to a new listener.
                EXPECT_LE(fix.timestamp, t.loop().now());
                heard.push_back(Heard{since(t.loop().now()),
                                      std::lround((fix.coordinate.latitude - kStartLatitude) * kMetresPerDegree)});
                stamps.push_back(since(fix.timestamp));
            },
            [this](const std::string& error) { errors.push_back(error); });
    }
    std::chrono::milliseconds since(std::chrono::system_clock::time_point time) const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(time - start);
    }

    testing::TestEnvironment t;
    const std::chrono::system_clock::time_point start = t.loop().now();
    std::vector<std::string> errors;
    std::vector<std::chrono::milliseconds> stamps;
};

TEST_F(TrackLocationProviderTest, ReplaysAtTheRecordedPaceTimesTheSpeed) {
    struct Case {
        double speed;
        bool loop;
        std::vector<Heard> heard;
    };
    for (const auto& c : {
             Case{1.0, false, {{0ms, 0}, {1000ms, 10}, {2000ms, 20}}},
             Case{4.0, false, {{0ms, 0}, {250ms, 10}, {500ms, 20}}},
             // Starting over takes one untimed step (a second, at this speed a quarter).
             Case{4.0, true, {{0ms, 0}, {250ms, 10}, {500ms, 20}, {750ms, 0}, {1000ms, 10}, {1250ms, 20},
                              {1500ms, 0}, {1750ms, 10}, {2000ms, 20}}},
         }) {
        auto file = writeWalk(t.home() / "walk.gpx", {0, 10, 20});
        auto provider = TrackLocationProvider::create(file, c.speed, c.loop);
        const auto began = since(t.loop().now());
        std::vector<Heard> heard;
        listen(*provider, heard);
        stamps.clear();
        t.loop().runFor(2s);
        for (auto& h : heard) h.at -= began;
        for (auto& s : stamps) s -= began;
        // Each fix is stamped with the time it was reached.
        std::vector<std::chrono::milliseconds> times;
        for (const auto& h : heard) times.push_back(h.at);
        EXPECT_EQ(stamps, times);
        EXPECT_EQ(heard, c.heard) << "speed " << c.speed << (c.loop ? " looping" : "");
        EXPECT_EQ(provider->error(), std::nullopt);
    }
}

TEST_F(TrackLocationProviderTest, StaysAtTheLastFixAndGivesItToLateListeners) {
    auto provider = TrackLocationProvider::create(writeWalk(t.home() / "walk.gpx", {0, 10}));
    std::vector<Heard> first, late;
    listen(*provider, first);
    t.loop().runFor(1h);
    EXPECT_EQ(first, (std::vector<Heard>{{0ms, 0}, {1000ms, 10}}));
    ASSERT_TRUE(provider->lastKnownLocation());
    EXPECT_EQ(std::lround((provider->lastKnownLocation()->coordinate.latitude - kStartLatitude) * kMetresPerDegree), 10);
    EXPECT_EQ(provider->lastKnownLocation()->altitude, 501);

    listen(*provider, late);
    EXPECT_TRUE(late.empty());  // never inside subscribe()
    t.loop().runFor(0s);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].metres, 10);
    EXPECT_EQ(stamps.back(), 1000ms);  // when it was reached, not when it was handed over
    EXPECT_EQ(first.size(), 2u);
}

TEST_F(TrackLocationProviderTest, HoldsItsPlaceWhileNobodyListens) {
    auto provider = TrackLocationProvider::create(writeWalk(t.home() / "walk.gpx", {0, 10, 20, 30}));
    std::vector<Heard> heard;
    auto id = listen(*provider, heard);
    t.loop().runFor(1500ms);  // 0 and 10 heard, half-way to 20
    provider->unsubscribe(id);
    t.loop().runFor(1min);
    EXPECT_EQ(heard.size(), 2u);

    const auto back = since(t.loop().now());
    listen(*provider, heard);
    t.loop().runFor(2s);
    // The current fix at once, then the rest of the track at its own pace.
    EXPECT_EQ(heard, (std::vector<Heard>{{0ms, 0}, {1000ms, 10}, {back, 10}, {back + 500ms, 20}, {back + 1500ms, 30}}));
}

TEST_F(TrackLocationProviderTest, EveryListenerHearsEveryFixUntilItLeaves) {
    auto provider = TrackLocationProvider::create(writeWalk(t.home() / "walk.gpx", {0, 10, 20}));
    std::vector<Heard> a, b;
    listen(*provider, a);
    auto idB = listen(*provider, b);
    t.loop().runFor(1s);
    provider->unsubscribe(idB);
    provider->unsubscribe(idB);  // a second time is harmless
    t.loop().runFor(1s);
    EXPECT_EQ(a.size(), 3u);
    EXPECT_EQ(b.size(), 2u);
}

TEST_F(TrackLocationProviderTest, ReplaysNmeaLogsToo) {
    auto file = writeText(t.home() / "drive.nmea",
                          "$GPRMC,080000,A,4808.220,N,01134.500,E,0.0,0.0,050624,,\r\n"
                          "$GPRMC,080005,A,4808.280,N,01134.500,E,0.0,0.0,050624,,\r\n");
    auto provider = TrackLocationProvider::create(file);
    std::vector<Location> fixes;
    provider->subscribe(kCLLocationAccuracyBest, [&](const Location& fix) { fixes.push_back(fix); }, nullptr);
    t.loop().runFor(5s);
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_NEAR(fixes[0].coordinate.latitude, 48.137, 1e-9);
    EXPECT_NEAR(fixes[0].coordinate.longitude, 11.575, 1e-9);
    EXPECT_NEAR(fixes[1].coordinate.latitude, 48.138, 1e-9);
    EXPECT_EQ(fixes[1].timestamp - fixes[0].timestamp, 5s);
}

TEST_F(TrackLocationProviderTest, AnUnreadableTrackTellsEachListenerAndLogsOnce) {
    auto file = writeText(t.home() / "broken.gpx", "<gpx><trk><trkseg><trkpt lat=\"x\"");
    auto provider = TrackLocationProvider::create(file);
    ASSERT_TRUE(provider->error());
    EXPECT_TRUE(provider->error()->starts_with("cannot replay " + file.string() + ": "));
    std::vector<Heard> heard;
    listen(*provider, heard);
    listen(*provider, heard);
    EXPECT_TRUE(errors.empty());  // never inside subscribe()
    t.loop().runFor(1min);
    EXPECT_EQ(errors, (std::vector<std::string>{*provider->error(), *provider->error()}));
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(provider->lastKnownLocation(), std::nullopt);
    auto lines = t.logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "location: " + *provider->error()), 1);
}

TEST_F(TrackLocationProviderTest, AReleasedProviderLeavesNoTimerBehind) {
    auto provider = TrackLocationProvider::create(writeWalk(t.home() / "walk.gpx", {0, 10, 20}), 1.0, true);
    std::vector<Heard> heard;
    listen(*provider, heard);
    t.loop().runFor(0s);
    provider.reset();
    t.loop().runFor(1min);
    EXPECT_EQ(heard.size(), 1u);
}

}  // namespace
}  // namespace kelpa::platform
