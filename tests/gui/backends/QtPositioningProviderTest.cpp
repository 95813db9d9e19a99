#include "QtTestApplication.h"
#include "TestEnvironment.h"
#include "gui/backends/QtPositioningProvider.h"
#include "platform/location/LocationAccuracy.h"

#include <QDateTime>
#include <QGeoCoordinate>
#include <QGeoPositionInfo>

#include <gtest/gtest.h>

#include <cmath>

namespace kelpa::testing {
namespace {

using platform::Location;
using platform::QtPositioningProvider;
using Methods = QGeoPositionInfoSource::PositioningMethods;

// A Qt source driven by the test.
class ScriptedSource : public QGeoPositionInfoSource {
public:
    ScriptedSource() : QGeoPositionInfoSource(nullptr) {}

    QGeoPositionInfo lastKnownPosition(bool) const override { return last; }
    PositioningMethods supportedPositioningMethods() const override { return AllPositioningMethods; }
    int minimumUpdateInterval() const override { return 100; }
    Error error() const override { return NoError; }
    void startUpdates() override {
        ++starts;
        // Some sources fail at once, inside startUpdates().
        if (failOnStart) emit errorOccurred(*failOnStart);
    }
    void stopUpdates() override { ++stops; }
    void requestUpdate(int) override {}

    void deliver(const QGeoPositionInfo& info) { emit positionUpdated(info); }
    void fail(Error error) { emit errorOccurred(error); }

    int starts = 0;
    int stops = 0;
    std::optional<Error> failOnStart;
    QGeoPositionInfo last;
};

QGeoPositionInfo fixAt(double latitude, double longitude, std::optional<double> altitude = std::nullopt,
                       std::optional<double> accuracy = std::nullopt,
                       QDateTime when = QDateTime::fromMSecsSinceEpoch(1'772'442'000'000, Qt::UTC)) {
    QGeoCoordinate coordinate = altitude ? QGeoCoordinate(latitude, longitude, *altitude)
                                         : QGeoCoordinate(latitude, longitude);
    QGeoPositionInfo info(coordinate, when);
    if (accuracy) info.setAttribute(QGeoPositionInfo::HorizontalAccuracy, *accuracy);
    return info;
}

struct Listener {
    std::vector<Location> fixes;
    std::vector<std::string> errors;

    platform::LocationProvider::SubscriptionId on(QtPositioningProvider& provider, double accuracy) {
        return provider.subscribe(
            accuracy, [this](const Location& fix) { fixes.push_back(fix); },
            [this](const std::string& error) { errors.push_back(error); });
    }
};

class QtPositioningProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApplication();
        auto owned = std::make_unique<ScriptedSource>();
        source = owned.get();
        provider = QtPositioningProvider::create(std::move(owned));
    }

    TestEnvironment t;
    ScriptedSource* source = nullptr;
    std::shared_ptr<QtPositioningProvider> provider;
};

TEST(QtPositioningPreferenceTest, AccuracyPicksMethodsAndInterval) {
    struct Case {
        double accuracy;
        Methods methods;
        int intervalMs;
    };
    for (const auto& c : {Case{platform::kCLLocationAccuracyBestForNavigation, QGeoPositionInfoSource::AllPositioningMethods, 1000},
                          Case{platform::kCLLocationAccuracyBest, QGeoPositionInfoSource::AllPositioningMethods, 1000},
                          Case{platform::kCLLocationAccuracyNearestTenMeters, QGeoPositionInfoSource::AllPositioningMethods, 1000},
                          Case{platform::kCLLocationAccuracyHundredMeters, QGeoPositionInfoSource::AllPositioningMethods, 5000},
                          Case{1000, QGeoPositionInfoSource::NonSatellitePositioningMethods, 10000},
                          Case{std::nan(""), QGeoPositionInfoSource::AllPositioningMethods, 1000}}) {
        SCOPED_TRACE(c.accuracy);
        EXPECT_EQ(QtPositioningProvider::preferenceFor(c.accuracy), (QtPositioningProvider::Preference{c.methods, c.intervalMs}));
    }
}

TEST_F(QtPositioningProviderTest, FixesReachListenersOnTheMainQueue) {
    Listener listener;
    listener.on(*provider, platform::kCLLocationAccuracyBest);
    EXPECT_EQ(source->starts, 1);

    source->deliver(fixAt(48.5, 11.25, 520.0, 8.0));
    EXPECT_TRUE(listener.fixes.empty()) << "not inside Qt's signal";
    t.loop().runUntilIdle();
    ASSERT_EQ(listener.fixes.size(), 1u);
    const auto& fix = listener.fixes[0];
    EXPECT_EQ(fix.coordinate.latitude, 48.5);
    EXPECT_EQ(fix.coordinate.longitude, 11.25);
    EXPECT_EQ(fix.altitude, 520.0);
    EXPECT_EQ(fix.horizontalAccuracy, 8.0);
    EXPECT_EQ(fix.timestamp, platform::MainQueue::Clock::time_point(std::chrono::milliseconds(1'772'442'000'000)));
    EXPECT_EQ(provider->lastKnownLocation(), fix);
}

TEST_F(QtPositioningProviderTest, AFixWithoutAltitudeOrTimeIsStillAFix) {
    Listener listener;
    listener.on(*provider, platform::kCLLocationAccuracyBest);
    source->deliver(fixAt(-33.9, 151.2, std::nullopt, std::nullopt, QDateTime()));
    // An invalid fix says nothing.
    source->deliver(QGeoPositionInfo());
    t.loop().runUntilIdle();
    ASSERT_EQ(listener.fixes.size(), 1u);
    EXPECT_EQ(listener.fixes[0].altitude, 0.0);
    EXPECT_EQ(listener.fixes[0].timestamp, t.loop().now());
}

TEST_F(QtPositioningProviderTest, TheSourceRunsWhileAnybodyListensTunedForTheMostDemanding) {
    Listener coarse, fine;
    const auto coarseId = coarse.on(*provider, 1000);
    EXPECT_EQ(source->preferredPositioningMethods(), Methods(QGeoPositionInfoSource::NonSatellitePositioningMethods));
    EXPECT_EQ(source->updateInterval(), 10000);

    const auto fineId = fine.on(*provider, platform::kCLLocationAccuracyBest);
    EXPECT_EQ(source->preferredPositioningMethods(), Methods(QGeoPositionInfoSource::AllPositioningMethods));
    EXPECT_EQ(source->updateInterval(), 1000);
    EXPECT_EQ(source->starts, 1);

    provider->unsubscribe(fineId);
    EXPECT_EQ(source->updateInterval(), 10000);
    source->deliver(fixAt(1, 2));
    t.loop().runUntilIdle();
    EXPECT_EQ(coarse.fixes.size(), 1u);
    EXPECT_TRUE(fine.fixes.empty());

    provider->unsubscribe(coarseId);
    EXPECT_EQ(source->stops, 1);
    provider->unsubscribe(coarseId);
    EXPECT_EQ(source->stops, 1);
}

TEST_F(QtPositioningProviderTest, ErrorsArriveAsTexts) {
    struct Case {
        QGeoPositionInfoSource::Error error;
        const char* text;
    };
    Listener listener;
    listener.on(*provider, platform::kCLLocationAccuracyBest);
    std::vector<std::string> expected;
    for (const auto& c : {Case{QGeoPositionInfoSource::AccessError, "access to the position was denied"},
                          Case{QGeoPositionInfoSource::ClosedError, "the positioning source was closed"},
                          Case{QGeoPositionInfoSource::UnknownSourceError, "the positioning source failed"},
                          Case{QGeoPositionInfoSource::UpdateTimeoutError, "no position fix in time"}}) {
        source->fail(c.error);
        expected.push_back(c.text);
    }
    source->fail(QGeoPositionInfoSource::NoError);
    t.loop().runUntilIdle();
    EXPECT_EQ(listener.errors, expected);
    EXPECT_TRUE(t.logged("QtPositioningProvider: access to the position was denied"));
}

TEST_F(QtPositioningProviderTest, AFailedSourceIsStartedAgainByTheNextListener) {
    source->failOnStart = QGeoPositionInfoSource::AccessError;
    Listener first;
    const auto firstId = first.on(*provider, platform::kCLLocationAccuracyBest);
    EXPECT_TRUE(first.errors.empty()) << "not inside subscribe()";
    t.loop().runUntilIdle();
    EXPECT_EQ(first.errors, std::vector<std::string>{"access to the position was denied"});

    source->failOnStart.reset();
    provider->unsubscribe(firstId);
    Listener second;
    second.on(*provider, platform::kCLLocationAccuracyBest);
    EXPECT_EQ(source->starts, 2);
}

TEST_F(QtPositioningProviderTest, AnUnsubscribedListenerHearsNothingMore) {
    Listener listener;
    const auto id = listener.on(*provider, platform::kCLLocationAccuracyBest);
    source->deliver(fixAt(1, 2));
    source->fail(QGeoPositionInfoSource::ClosedError);
    provider->unsubscribe(id);
    t.loop().runUntilIdle();
    EXPECT_TRUE(listener.fixes.empty());
    EXPECT_TRUE(listener.errors.empty());
}

TEST_F(QtPositioningProviderTest, TheLastKnownPositionComesFromTheSourceUntilAFixArrives) {
    EXPECT_EQ(provider->lastKnownLocation(), std::nullopt);
    source->last = fixAt(10, 20);
    ASSERT_TRUE(provider->lastKnownLocation());
    EXPECT_EQ(provider->lastKnownLocation()->coordinate.latitude, 10);
}

TEST(QtPositioningNoSourceTest, WithoutASourceEveryListenerHearsWhy) {
    TestEnvironment t;
    ensureQtApplication();
    auto provider = QtPositioningProvider::create(nullptr);
    EXPECT_FALSE(provider->hasSource());
    EXPECT_TRUE(t.logged("QtPositioningProvider: no positioning source on this machine"));
    Listener listener;
    listener.on(*provider, platform::kCLLocationAccuracyBest);
    EXPECT_TRUE(listener.errors.empty());
    t.loop().runUntilIdle();
    EXPECT_EQ(listener.errors, std::vector<std::string>{"no positioning source on this machine"});
    EXPECT_EQ(provider->lastKnownLocation(), std::nullopt);
}

}  // namespace
}  // namespace kelpa::testing
