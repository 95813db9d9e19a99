#include "platform/location/Geocoder.h"

#include "platform/Async.h"
#include "platform/Environment.h"
#include "platform/MainQueue.h"
#include "platform/location/GeocodingService.h"

namespace kelpa::platform {

std::shared_ptr<Geocoder> Geocoder::create() {
    return std::make_shared<Geocoder>(Environment::current()->mainQueue);
}

Geocoder::Geocoder(std::shared_ptr<MainQueue> mainQueue) : mainQueue_(std::move(mainQueue)) {}

void Geocoder::geocodeAddressString(const std::string& address, CompletionHandler completionHandler) {
    ++inFlight_;
    auto self = shared_from_this();
    auto service = Environment::current()->geocoding;
    if (!service) {
        // Still later, never inside the call: callers are written for an answer that comes back.
        mainQueue_->post([self, handler = std::move(completionHandler)] {
            --self->inFlight_;
            if (handler) handler(std::nullopt, std::string("geocoding is not available"));
        });
        return;
    }
    runInBackground(
        "geocodeAddressString",
        [service, address]() -> std::variant<std::vector<Placemark>, std::string> {
            // A service that throws must not take the worker down with it.
            try {
                return service->geocode(address);
            } catch (const std::exception& e) {
                return std::string("geocoding failed: ") + e.what();
            }
        },
        [self, handler = std::move(completionHandler)](std::variant<std::vector<Placemark>, std::string> result) {
            --self->inFlight_;
            if (!handler) return;
            if (auto* places = std::get_if<std::vector<Placemark>>(&result)) {
                handler(std::move(*places), std::nullopt);
            } else {
                handler(std::nullopt, std::move(std::get<std::string>(result)));
            }
        });
}

}  // namespace kelpa::platform
