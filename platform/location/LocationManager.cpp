#include "platform/location/LocationManager.h"

#include "platform/Environment.h"
#include "platform/MainQueue.h"

namespace kelpa::platform {

std::shared_ptr<LocationManager> LocationManager::create() {
    auto env = Environment::current();
    return std::make_shared<LocationManager>(env->mainQueue, env->location);
}

LocationManager::LocationManager(std::shared_ptr<MainQueue> mainQueue, std::shared_ptr<LocationProvider> provider)
    : mainQueue_(std::move(mainQueue)), provider_(std::move(provider)) {}

LocationManager::~LocationManager() {
    if (provider_ && subscription_) provider_->unsubscribe(*subscription_);
}

void LocationManager::setDelegate(std::weak_ptr<LocationManagerDelegate> delegate) { delegate_ = std::move(delegate); }

void LocationManager::setDesiredAccuracy(double accuracy) {
    if (desiredAccuracy_ == accuracy) return;
    desiredAccuracy_ = accuracy;
    if (updating_) {
        unsubscribe();
        subscribe();
    }
}

void LocationManager::setDistanceFilter(double metres) { distanceFilter_ = metres; }

void LocationManager::startUpdatingLocation() {
    if (updating_) return;
    updating_ = true;
    filterReference_.reset();
    subscribe();
}

void LocationManager::stopUpdatingLocation() {
    if (!updating_) return;
    updating_ = false;
    unsubscribe();
}

std::optional<Location> LocationManager::location() const {
    if (lastReceived_) return lastReceived_;
    return provider_ ? provider_->lastKnownLocation() : std::nullopt;
}

void LocationManager::requestWhenInUseAuthorization() {
    authorizationRequests_.emplace_back("whenInUse");
    if (provider_) provider_->requestAuthorization(LocationAuthorization::whenInUse);
}

void LocationManager::requestAlwaysAuthorization() {
    authorizationRequests_.emplace_back("always");
    if (provider_) provider_->requestAuthorization(LocationAuthorization::always);
}

void LocationManager::subscribe() {
    if (!provider_) return;
    const auto generation = ++generation_;
    std::weak_ptr<LocationManager> weak = weak_from_this();
    // A provider that answers inside subscribe() is put off to the main queue, so a delegate
    // never hears back before startUpdatingLocation() returns.
    auto onFix = [weak, generation, queue = mainQueue_](const Location& fix) {
        auto self = weak.lock();
        if (!self) return;
        if (!self->subscribing_) return self->received(generation, fix);
        queue->post([weak, generation, fix] {
            if (auto later = weak.lock()) later->received(generation, fix);
        });
    };
    auto onError = [weak, generation, queue = mainQueue_](const std::string& error) {
        auto self = weak.lock();
        if (!self) return;
        if (!self->subscribing_) return self->failed(generation, error);
        queue->post([weak, generation, error] {
            if (auto later = weak.lock()) later->failed(generation, error);
        });
    };
    subscribing_ = true;
    subscription_ = provider_->subscribe(desiredAccuracy_, std::move(onFix), std::move(onError));
    subscribing_ = false;
}

void LocationManager::unsubscribe() {
    ++generation_;
    if (provider_ && subscription_) provider_->unsubscribe(*subscription_);
    subscription_.reset();
}

void LocationManager::received(std::uint64_t generation, const Location& fix) {
    if (!updating_ || generation != generation_) return;
    // A re-subscription hands the provider's current fix again; it is not a new one.
    if (lastReceived_ && *lastReceived_ == fix) return;
    lastReceived_ = fix;
    if (filterReference_ && distanceFilter_ > 0 && fix.distanceFromLocation(*filterReference_) < distanceFilter_) {
        return;
    }
    auto from = lastDelivered_;
    lastDelivered_ = fix;
    filterReference_ = fix;
    auto keep = shared_from_this();
    if (auto delegate = delegate_.lock()) delegate->didUpdateToLocation(*this, fix, from);
}

void LocationManager::failed(std::uint64_t generation, const std::string& error) {
    if (!updating_ || generation != generation_) return;
    auto keep = shared_from_this();
    if (auto delegate = delegate_.lock()) delegate->didFailWithError(*this, error);
}

}  // namespace kelpa::platform
