#pragma once

#include "platform/location/Location.h"
#include "platform/location/LocationAccuracy.h"
#include "platform/location/LocationManagerDelegate.h"
#include "platform/location/LocationProvider.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

class MainQueue;

// Hands the fixes of the environment's location provider to a delegate, after its own
// distance filter: a fix closer than the filter to the last delivered one is dropped, and the
// first fix after a start always passes. Lives and calls back on the main queue, never inside
// startUpdatingLocation(). Without a provider it never delivers anything.
class LocationManager : public std::enable_shared_from_this<LocationManager> {
public:
    // Call on the main queue; the manager keeps the environment's main queue and provider.
    static std::shared_ptr<LocationManager> create();

    LocationManager(std::shared_ptr<MainQueue> mainQueue, std::shared_ptr<LocationProvider> provider);
    ~LocationManager();
    LocationManager(const LocationManager&) = delete;
    LocationManager& operator=(const LocationManager&) = delete;

    void setDelegate(std::weak_ptr<LocationManagerDelegate> delegate);

    // Both take effect for the next fix; a new accuracy re-subscribes a running provider.
    void setDesiredAccuracy(double accuracy);
    double desiredAccuracy() const { return desiredAccuracy_; }
    void setDistanceFilter(double metres);
    double distanceFilter() const { return distanceFilter_; }

    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdatingLocation() const { return updating_; }

    // The last fix this manager received (filtered or not), else the provider's last known.
    std::optional<Location> location() const;

    void requestWhenInUseAuthorization();
    void requestAlwaysAuthorization();
    // What was asked, in order: "whenInUse", "always".
    const std::vector<std::string>& authorizationRequests() const { return authorizationRequests_; }

private:
    void subscribe();
    void unsubscribe();
    void received(std::uint64_t generation, const Location& fix);
    void failed(std::uint64_t generation, const std::string& error);

    const std::shared_ptr<MainQueue> mainQueue_;
    const std::shared_ptr<LocationProvider> provider_;
    std::weak_ptr<LocationManagerDelegate> delegate_;
    double desiredAccuracy_ = kCLLocationAccuracyBest;
    double distanceFilter_ = kCLDistanceFilterNone;
    bool updating_ = false;
    std::optional<LocationProvider::SubscriptionId> subscription_;
    // Tells the callbacks of an old subscription from those of the current one.
    std::uint64_t generation_ = 0;
    bool subscribing_ = false;
    std::optional<Location> lastReceived_;
    std::optional<Location> lastDelivered_;
    // What the distance filter measures from: the last fix delivered since the start.
    std::optional<Location> filterReference_;
    std::vector<std::string> authorizationRequests_;
};

}  // namespace kelpa::platform
