#include "gui/backends/QtPositioningProvider.h"

#include "platform/Environment.h"
#include "platform/Log.h"

#include <fmt/format.h>

#include <QGeoCoordinate>
#include <QGeoPositionInfo>

#include <cmath>
#include <limits>

namespace kelpa::platform {

namespace {
// Satellites cost power; a listener content with a hundred metres does without them only
// beyond that, and one that wants ten metres or better gets a fix every second.
constexpr double kFineAccuracy = 10;
constexpr double kCoarseAccuracy = 100;
constexpr int kFineIntervalMs = 1000;
constexpr int kMediumIntervalMs = 5000;
constexpr int kCoarseIntervalMs = 10000;

// The "best" constants are negative; NaN asks for nothing in particular, taken as the best.
double demand(double desiredAccuracy) {
    if (std::isnan(desiredAccuracy) || desiredAccuracy < 0) return -std::numeric_limits<double>::infinity();
    return desiredAccuracy;
}
}  // namespace

QtPositioningProvider::Preference QtPositioningProvider::preferenceFor(double desiredAccuracy) {
    const double metres = demand(desiredAccuracy);
    if (metres <= kFineAccuracy) return {QGeoPositionInfoSource::AllPositioningMethods, kFineIntervalMs};
    if (metres <= kCoarseAccuracy) return {QGeoPositionInfoSource::AllPositioningMethods, kMediumIntervalMs};
    return {QGeoPositionInfoSource::NonSatellitePositioningMethods, kCoarseIntervalMs};
}

std::optional<std::string> QtPositioningProvider::errorText(QGeoPositionInfoSource::Error error) {
    switch (error) {
    case QGeoPositionInfoSource::AccessError:
        return "access to the position was denied";
    case QGeoPositionInfoSource::ClosedError:
        return "the positioning source was closed";
    case QGeoPositionInfoSource::UnknownSourceError:
        return "the positioning source failed";
    case QGeoPositionInfoSource::UpdateTimeoutError:
        return "no position fix in time";
    case QGeoPositionInfoSource::NoError:
        break;
    }
    return std::nullopt;
}

std::optional<Location> QtPositioningProvider::locationFrom(const QGeoPositionInfo& info,
                                                            MainQueue::Clock::time_point now) {
    // Qt calls a fix without a time invalid; its position is still worth having.
    if (!info.coordinate().isValid()) return std::nullopt;
    const auto coordinate = info.coordinate();
    Location fix;
    fix.coordinate = {coordinate.latitude(), coordinate.longitude()};
    // A 2D fix has no altitude (NaN in Qt).
    if (coordinate.type() == QGeoCoordinate::Coordinate3D && std::isfinite(coordinate.altitude())) {
        fix.altitude = coordinate.altitude();
    }
    if (info.hasAttribute(QGeoPositionInfo::HorizontalAccuracy)) {
        const double accuracy = info.attribute(QGeoPositionInfo::HorizontalAccuracy);
        if (std::isfinite(accuracy) && accuracy >= 0) fix.horizontalAccuracy = accuracy;
    }
    const auto stamp = info.timestamp();
    fix.timestamp = stamp.isValid() ? MainQueue::Clock::time_point(std::chrono::milliseconds(stamp.toMSecsSinceEpoch()))
                                    : now;
    return fix;
}

std::shared_ptr<QtPositioningProvider> QtPositioningProvider::create() {
    std::unique_ptr<QGeoPositionInfoSource> source(QGeoPositionInfoSource::createDefaultSource(nullptr));
    return create(std::move(source));
}

std::shared_ptr<QtPositioningProvider> QtPositioningProvider::create(std::unique_ptr<QGeoPositionInfoSource> source) {
    std::shared_ptr<QtPositioningProvider> provider(
        new QtPositioningProvider(Environment::current()->mainQueue, std::move(source)));
    provider->attach();
    return provider;
}

QtPositioningProvider::QtPositioningProvider(std::shared_ptr<MainQueue> mainQueue,
                                             std::unique_ptr<QGeoPositionInfoSource> source)
    : mainQueue_(std::move(mainQueue)), source_(std::move(source)) {}

QtPositioningProvider::~QtPositioningProvider() {
    // Deleting the source disconnects its signals before anything of ours goes.
    if (source_ && running_) source_->stopUpdates();
    source_.reset();
}

void QtPositioningProvider::attach() {
    if (!source_) {
        log(fmt::format("QtPositioningProvider: {}", noSourceError));
        return;
    }
    log("QtPositioningProvider: positions from " + source_->sourceName().toStdString());
    // Qt signals come on the source's thread, possibly inside startUpdates(); listeners hear of
    // them on a later turn of the main queue.
    std::weak_ptr<QtPositioningProvider> weak = weak_from_this();
    QObject::connect(source_.get(), &QGeoPositionInfoSource::positionUpdated, source_.get(),
                     [weak, queue = mainQueue_](const QGeoPositionInfo& info) {
                         queue->post([weak, info] {
                             if (auto self = weak.lock()) self->received(info);
                         });
                     });
    QObject::connect(source_.get(), &QGeoPositionInfoSource::errorOccurred, source_.get(),
                     [weak, queue = mainQueue_](QGeoPositionInfoSource::Error error) {
                         queue->post([weak, error] {
                             if (auto self = weak.lock()) self->failed(error);
                         });
                     });
}

LocationProvider::SubscriptionId QtPositioningProvider::subscribe(double desiredAccuracy, FixCallback onFix,
                                                                  ErrorCallback onError) {
    const auto id = next_++;
    listeners_.emplace(id, Listener{desiredAccuracy, std::move(onFix), std::move(onError)});
    if (!source_) {
        tellError(id, noSourceError);
        return id;
    }
    updateSource();
    return id;
}

void QtPositioningProvider::unsubscribe(SubscriptionId id) {
    if (listeners_.erase(id) == 0) return;
    if (source_) updateSource();
}

std::optional<Location> QtPositioningProvider::lastKnownLocation() const {
    if (lastKnown_) return lastKnown_;
    if (!source_) return std::nullopt;
    return locationFrom(source_->lastKnownPosition(), mainQueue_->now());
}

void QtPositioningProvider::updateSource() {
    if (listeners_.empty()) {
        if (running_) source_->stopUpdates();
        running_.reset();
        return;
    }
    double finest = std::numeric_limits<double>::infinity();
    for (const auto& [id, listener] : listeners_) finest = std::min(finest, demand(listener.desiredAccuracy));
    const auto wanted = preferenceFor(finest);
    if (running_ == wanted) return;
    source_->setPreferredPositioningMethods(wanted.methods);
    source_->setUpdateInterval(wanted.updateIntervalMs);
    // A running source takes the new settings with its next fix.
    if (!running_) source_->startUpdates();
    running_ = wanted;
}

void QtPositioningProvider::received(const QGeoPositionInfo& info) {
    auto fix = locationFrom(info, mainQueue_->now());
    if (!fix) return;
    lastKnown_ = fix;
    auto keep = shared_from_this();
    // A copy: listeners may come and go while being told.
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners) {
        if (listeners_.contains(id) && listener.onFix) listener.onFix(*fix);
    }
}

void QtPositioningProvider::failed(QGeoPositionInfoSource::Error error) {
    auto text = errorText(error);
    if (!text) return;
    log("QtPositioningProvider: " + *text);
    // A source that failed has stopped; the next change of listeners starts it again. A late
    // fix leaves it running.
    if (error != QGeoPositionInfoSource::UpdateTimeoutError) running_.reset();
    auto keep = shared_from_this();
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners) {
        if (listeners_.contains(id) && listener.onError) listener.onError(*text);
    }
}

void QtPositioningProvider::tellError(SubscriptionId id, const std::string& error) {
    mainQueue_->post([weak = weak_from_this(), id, error] {
        auto self = weak.lock();
        if (!self) return;
        auto it = self->listeners_.find(id);
        if (it == self->listeners_.end() || !it->second.onError) return;
        auto onError = it->second.onError;
        onError(error);
    });
}

}  // namespace kelpa::platform
