#include "TestEnvironment.h"
#include "TrackFiles.h"

#include "platform/location/LocationManager.h"
#include "platform/location/ManualLocationProvider.h"
#include "platform/location/TrackLocationProvider.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelpa::platform {
namespace {

using namespace std::chrono_literals;

struct RecordingDelegate : LocationManagerDelegate {
    std::vector<Location> fixes;
    std::vector<std::optional<Location>> previous;
    std::vector<std::string> errors;

    void didUpdateToLocation(LocationManager&, const Location& newLocation,
                             const std::optional<Location>& fromLocation) override {
        fixes.push_back(newLocation);
        previous.push_back(fromLocation);
    }
    void didFailWithError(LocationManager&, const std::string& error) override { errors.push_back(error); }

    // How far north of the track's start each delivered fix is, in whole metres.
    std::vector<long> metres() const {
        std::vector<long> list;
        for (const auto& fix : fixes) {
            list.push_back(std::lround((fix.coordinate.latitude - kStartLatitude) * kMetresPerDegree));
        }
        return list;
    }
};

Location fixAt(double metresNorth, int second) {
    Location fix;
    fix.coordinate = {latitudeAt(metresNorth), kStartLongitude};
    fix.timestamp = std::chrono::system_clock::time_point{} + std::chrono::seconds(second);
    return fix;
}

class LocationManagerTest : public ::testing::Test {
protected:
    std::shared_ptr<LocationManager> managerReplaying(const std::vector<double>& metresNorth) {
        t.env().location = TrackLocationProvider::create(writeWalk(t.home() / "walk.gpx", metresNorth));
        return managerWithDelegate();
    }
    std::shared_ptr<ManualLocationProvider> manualProvider() {
        auto provider = std::make_shared<ManualLocationProvider>();
        t.env().location = provider;
        return provider;
    }
    std::shared_ptr<LocationManager> managerWithDelegate() {
        auto manager = LocationManager::create();
        manager->setDelegate(delegate);
        return manager;
    }

    testing::TestEnvironment t;
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(LocationManagerTest, DistanceFilterDropsFixesCloserThanItToTheLastDeliveredOne) {
    const std::vector<double> walk{0, 2, 4, 6, 7, 13, 14, 30};
    struct Case {
        double filter;
        std::vector<long> delivered;
    };
    for (const auto& c : {
             Case{kCLDistanceFilterNone, {0, 2, 4, 6, 7, 13, 14, 30}},
             Case{0, {0, 2, 4, 6, 7, 13, 14, 30}},
             // Measured from the last delivered fix, not the last received one: 2 and 4 are
             // dropped, yet 6 is 6 m from 0 and passes.
             Case{5, {0, 6, 13, 30}},
             Case{10, {0, 13, 30}},
             // The first fix passes whatever the filter.
             Case{1000, {0}},
         }) {
        delegate = std::make_shared<RecordingDelegate>();
        auto manager = managerReplaying(walk);
        manager->setDistanceFilter(c.filter);
        manager->startUpdatingLocation();
        t.loop().runFor(20s);
        EXPECT_EQ(delegate->metres(), c.delivered) << "filter " << c.filter;
        // Each delivery names the fix delivered before it.
        ASSERT_EQ(delegate->previous.size(), delegate->fixes.size());
        ASSERT_FALSE(delegate->previous.empty());
        EXPECT_FALSE(delegate->previous[0].has_value());
        for (size_t i = 1; i < delegate->fixes.size(); ++i) EXPECT_EQ(delegate->previous[i], delegate->fixes[i - 1]);
    }
}

TEST_F(LocationManagerTest, TheFirstFixComesFromTheMainQueueNotFromInsideStart) {
    auto manager = managerReplaying({0, 20});
    manager->setDistanceFilter(5);
    manager->startUpdatingLocation();
    EXPECT_TRUE(delegate->fixes.empty());
    EXPECT_TRUE(manager->isUpdatingLocation());
    t.loop().runFor(0s);
    EXPECT_EQ(delegate->metres(), (std::vector<long>{0}));
    t.loop().runFor(1s);
    EXPECT_EQ(delegate->metres(), (std::vector<long>{0, 20}));
}

// A source that answers inside subscribe(), as a backend with a cached fix might.
struct EagerProvider : ManualLocationProvider {
    SubscriptionId subscribe(double accuracy, FixCallback onFix, ErrorCallback onError) override {
        onFix(fixAt(0, 1));
        onError("warming up");
        return ManualLocationProvider::subscribe(accuracy, std::move(onFix), std::move(onError));
    }
};

TEST_F(LocationManagerTest, AProviderAnsweringInsideSubscribeIsHeardOnTheNextTurn) {
    t.env().location = std::make_shared<EagerProvider>();
    auto manager = managerWithDelegate();
    manager->startUpdatingLocation();
    EXPECT_TRUE(delegate->fixes.empty());
    EXPECT_TRUE(delegate->errors.empty());
    t.settle();
    EXPECT_EQ(delegate->fixes, (std::vector<Location>{fixAt(0, 1)}));
    EXPECT_EQ(delegate->errors, (std::vector<std::string>{"warming up"}));
}

TEST_F(LocationManagerTest, AFilterChangedWhileRunningCountsFromTheNextFix) {
    auto manager = managerReplaying({0, 1, 2, 3, 4, 8, 9, 15});
    manager->startUpdatingLocation();
    t.loop().runFor(1s);  // 0 and 1 delivered without a filter
    manager->setDistanceFilter(5);
    t.loop().runFor(10s);
    EXPECT_EQ(delegate->metres(), (std::vector<long>{0, 1, 8, 15}));
}

TEST_F(LocationManagerTest, AnAccuracyChangeResubscribesTheRunningProvider) {
    auto provider = manualProvider();
    auto manager = managerWithDelegate();
    EXPECT_EQ(manager->desiredAccuracy(), kCLLocationAccuracyBest);
    manager->setDesiredAccuracy(kCLLocationAccuracyBestForNavigation);  // not running: nothing to tell
    EXPECT_TRUE(provider->subscribedAccuracies().empty());
    manager->startUpdatingLocation();
    manager->setDesiredAccuracy(kCLLocationAccuracyNearestTenMeters);
    manager->setDesiredAccuracy(kCLLocationAccuracyNearestTenMeters);  // unchanged: no new subscription
    EXPECT_EQ(provider->subscribedAccuracies(),
              (std::vector<double>{kCLLocationAccuracyBestForNavigation, kCLLocationAccuracyNearestTenMeters}));
    EXPECT_EQ(provider->subscriberCount(), 1u);
    provider->deliver(fixAt(0, 1));
    EXPECT_EQ(delegate->fixes.size(), 1u);
}

TEST_F(LocationManagerTest, AReplayResubscribedForAccuracyDoesNotRepeatTheCurrentFix) {
    auto manager = managerReplaying({0, 3, 6});
    manager->startUpdatingLocation();
    t.loop().runFor(0s);
    manager->setDesiredAccuracy(kCLLocationAccuracyHundredMeters);
    t.loop().runFor(0s);
    EXPECT_EQ(delegate->metres(), (std::vector<long>{0}));
    t.loop().runFor(2s);
    EXPECT_EQ(delegate->metres(), (std::vector<long>{0, 3, 6}));
}

TEST_F(LocationManagerTest, StoppingEndsDeliveriesAndARestartLetsTheFirstFixThrough) {
    auto provider = manualProvider();
    auto manager = managerWithDelegate();
    manager->setDistanceFilter(5);
    manager->startUpdatingLocation();
    provider->deliver(fixAt(0, 1));
    manager->stopUpdatingLocation();
    EXPECT_FALSE(manager->isUpdatingLocation());
    EXPECT_EQ(provider->subscriberCount(), 0u);
    provider->deliver(fixAt(20, 2));
    provider->fail("gone");
    EXPECT_EQ(delegate->fixes.size(), 1u);
    EXPECT_TRUE(delegate->errors.empty());

    manager->startUpdatingLocation();
    provider->deliver(fixAt(21, 3));  // 21 m from the last delivered fix, but the first since the start
    provider->deliver(fixAt(23, 4));
    EXPECT_EQ(delegate->fixes, (std::vector<Location>{fixAt(0, 1), fixAt(21, 3)}));
    EXPECT_EQ(delegate->previous.back(), fixAt(0, 1));
}

TEST_F(LocationManagerTest, AReleasedDelegateHearsNothing) {
    // Counts outside the delegate, so calls after its release would still show.
    struct CountingDelegate : LocationManagerDelegate {
        std::shared_ptr<int> calls;
        void didUpdateToLocation(LocationManager&, const Location&, const std::optional<Location>&) override {
            ++*calls;
        }
        void didFailWithError(LocationManager&, const std::string&) override { ++*calls; }
    };
    auto calls = std::make_shared<int>(0);
    auto counting = std::make_shared<CountingDelegate>();
    counting->calls = calls;
    auto provider = manualProvider();
    auto manager = LocationManager::create();
    manager->setDelegate(counting);
    manager->startUpdatingLocation();
    provider->deliver(fixAt(0, 1));
    EXPECT_EQ(*calls, 1);
    counting.reset();
    provider->deliver(fixAt(10, 2));
    provider->fail("no signal");
    EXPECT_EQ(*calls, 1);
    // Still received.
    EXPECT_EQ(manager->location(), fixAt(10, 2));
}

TEST_F(LocationManagerTest, AReleasedManagerUnsubscribes) {
    auto provider = manualProvider();
    auto manager = managerWithDelegate();
    manager->startUpdatingLocation();
    EXPECT_EQ(provider->subscriberCount(), 1u);
    manager.reset();
    EXPECT_EQ(provider->subscriberCount(), 0u);
    provider->deliver(fixAt(0, 1));
    EXPECT_TRUE(delegate->fixes.empty());
}

TEST_F(LocationManagerTest, AnUnreadableTrackIsLoggedAndReportedAsAnError) {
    struct Case {
        const char* name;
        std::string text;
        const char* reason;
    };
    for (const auto& c : {
             Case{"garbage", "hello, world\n", "unknown track format (expected GPX or NMEA 0183)"},
             Case{"empty", "", "empty track"},
             Case{"gpx without points", "<gpx version=\"1.1\"></gpx>", "no positions in track"},
         }) {
        delegate = std::make_shared<RecordingDelegate>();
        const auto file = writeText(t.home() / (std::string(c.name) + ".gpx"), c.text);
        t.env().location = TrackLocationProvider::create(file);
        auto manager = managerWithDelegate();
        manager->startUpdatingLocation();
        t.loop().runFor(10s);
        const auto error = "cannot replay " + file.string() + ": " + c.reason;
        EXPECT_TRUE(t.logged("location: " + error)) << c.name;
        EXPECT_EQ(delegate->errors, (std::vector<std::string>{error})) << c.name;
        EXPECT_TRUE(delegate->fixes.empty()) << c.name;
        EXPECT_EQ(manager->location(), std::nullopt) << c.name;
    }
}

TEST_F(LocationManagerTest, AMissingTrackFileIsAnErrorToo) {
    const auto file = t.home() / "nowhere.nmea";
    t.env().location = TrackLocationProvider::create(file);
    auto manager = managerWithDelegate();
    manager->startUpdatingLocation();
    t.loop().runFor(1s);
    ASSERT_EQ(delegate->errors.size(), 1u);
    EXPECT_EQ(delegate->errors[0], "cannot replay " + file.string() + ": cannot open " + file.string());
}

TEST_F(LocationManagerTest, ErrorsReachTheDelegateAndFixesKeepComing) {
    auto provider = manualProvider();
    auto manager = managerWithDelegate();
    manager->startUpdatingLocation();
    provider->fail("no signal");
    provider->deliver(fixAt(0, 1));
    EXPECT_EQ(delegate->errors, (std::vector<std::string>{"no signal"}));
    EXPECT_EQ(delegate->fixes.size(), 1u);
}

TEST_F(LocationManagerTest, WithoutAProviderNothingIsEverDelivered) {
    auto manager = managerWithDelegate();
    manager->requestAlwaysAuthorization();
    manager->startUpdatingLocation();
    EXPECT_TRUE(manager->isUpdatingLocation());
    t.loop().runFor(1h);
    EXPECT_TRUE(delegate->fixes.empty());
    EXPECT_TRUE(delegate->errors.empty());
    EXPECT_EQ(manager->location(), std::nullopt);
}

TEST_F(LocationManagerTest, LocationIsTheLastFixReceivedElseTheProvidersLastKnown) {
    auto provider = manualProvider();
    auto manager = managerWithDelegate();
    EXPECT_EQ(manager->location(), std::nullopt);
    provider->setLastKnownLocation(fixAt(100, 1));
    EXPECT_EQ(manager->location(), fixAt(100, 1));
    manager->setDistanceFilter(5);
    manager->startUpdatingLocation();
    provider->deliver(fixAt(0, 2));
    provider->deliver(fixAt(1, 3));  // dropped by the filter, yet received
    EXPECT_EQ(delegate->fixes.size(), 1u);
    EXPECT_EQ(manager->location(), fixAt(1, 3));
}

TEST_F(LocationManagerTest, AuthorisationRequestsAreRecordedInOrderAndPassedOn) {
    auto provider = manualProvider();
    auto manager = managerWithDelegate();
    EXPECT_TRUE(manager->authorizationRequests().empty());
    manager->requestWhenInUseAuthorization();
    manager->requestAlwaysAuthorization();
    EXPECT_EQ(manager->authorizationRequests(), (std::vector<std::string>{"whenInUse", "always"}));
    EXPECT_EQ(provider->authorizationRequests(),
              (std::vector<LocationAuthorization>{LocationAuthorization::whenInUse, LocationAuthorization::always}));
}

TEST(Location, DistanceIsAlongTheGreatCircle) {
    auto at = [](double latitude, double longitude) {
        Location l;
        l.coordinate = {latitude, longitude};
        return l;
    };
    struct Case {
        Location a, b;
        double metres, tolerance;
    };
    for (const auto& c : {
             Case{at(48.137, 11.575), at(48.137, 11.575), 0, 1e-9},
             Case{fixAt(0, 0), fixAt(5, 0), 5, 1e-6},
             // Munich to Hamburg, about 612 km.
             Case{at(48.137, 11.575), at(53.551, 9.994), 612400, 1500},
             // A quarter of the equator.
             Case{at(0, 0), at(0, 90), 6371008.8 * 3.14159265358979323846 / 2, 1e-3},
             // Across the antimeridian the short way.
             Case{at(0, 179.5), at(0, -179.5), 111195, 1},
         }) {
        EXPECT_NEAR(c.a.distanceFromLocation(c.b), c.metres, c.tolerance);
        EXPECT_NEAR(c.b.distanceFromLocation(c.a), c.metres, c.tolerance);
    }
}

}  // namespace
}  // namespace kelpa::platform
