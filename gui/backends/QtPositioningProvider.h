#pragma once

#include "platform/MainQueue.h"
#include "platform/location/LocationProvider.h"

#include <QGeoPositionInfoSource>

#include <map>
#include <memory>
#include <optional>
#include <string>

QT_BEGIN_NAMESPACE
class QGeoPositionInfo;
QT_END_NAMESPACE

namespace kelpa::platform {

// The device's position from Qt Positioning (GeoClue on a Linux desktop). One Qt source serves
// every listener: it runs while anybody listens, tuned for the most demanding of them. Fixes and
// errors reach listeners on the main queue captured at creation, never inside a Qt signal or
// inside subscribe(). Create and use it on the Qt thread that drives the main queue.
class QtPositioningProvider : public LocationProvider,
                              public std::enable_shared_from_this<QtPositioningProvider> {
public:
    static constexpr const char* noSourceError = "no positioning source on this machine";

    // How a desired accuracy is asked of a Qt source.
    struct Preference {
        QGeoPositionInfoSource::PositioningMethods methods;
        int updateIntervalMs = 0;

        bool operator==(const Preference&) const = default;
    };
    static Preference preferenceFor(double desiredAccuracy);

    // Over the machine's default source; without one, every listener hears noSourceError.
    static std::shared_ptr<QtPositioningProvider> create();
    // Over the given source (none: as on a machine without one). The provider owns it.
    static std::shared_ptr<QtPositioningProvider> create(std::unique_ptr<QGeoPositionInfoSource> source);

    ~QtPositioningProvider() override;
    QtPositioningProvider(const QtPositioningProvider&) = delete;
    QtPositioningProvider& operator=(const QtPositioningProvider&) = delete;

    // False when the machine has no source: the app may fall back to a recorded track.
    bool hasSource() const { return source_ != nullptr; }

    SubscriptionId subscribe(double desiredAccuracy, FixCallback onFix, ErrorCallback onError) override;
    void unsubscribe(SubscriptionId id) override;
    std::optional<Location> lastKnownLocation() const override;

    // The text a listener hears for a Qt error; none for NoError.
    static std::optional<std::string> errorText(QGeoPositionInfoSource::Error error);
    // A Qt fix as the client sees one; a fix without a time is taken as measured `now`.
    static std::optional<Location> locationFrom(const QGeoPositionInfo& info, MainQueue::Clock::time_point now);

private:
    struct Listener {
        double desiredAccuracy = 0;
        FixCallback onFix;
        ErrorCallback onError;
    };

    QtPositioningProvider(std::shared_ptr<MainQueue> mainQueue, std::unique_ptr<QGeoPositionInfoSource> source);
    void attach();
    // Starts, retunes or stops the source for the listeners there are now.
    void updateSource();
    void received(const QGeoPositionInfo& info);
    void failed(QGeoPositionInfoSource::Error error);
    void tellError(SubscriptionId id, const std::string& error);

    const std::shared_ptr<MainQueue> mainQueue_;
    std::unique_ptr<QGeoPositionInfoSource> source_;
    std::map<SubscriptionId, Listener> listeners_;
    SubscriptionId next_ = 1;
    std::optional<Location> lastKnown_;
    std::optional<Preference> running_;
};

}  // namespace kelpa::platform
