#pragma once

#include "platform/location/Placemark.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

class MainQueue;

// Looks addresses up with the environment's geocoding service, on a background queue. The
// completion runs on the main queue with the places or an error text; a geocoder that is let
// go of before it answers still answers.
class Geocoder : public std::enable_shared_from_this<Geocoder> {
public:
    using CompletionHandler =
        std::function<void(std::optional<std::vector<Placemark>> placemarks, std::optional<std::string> error)>;

    static std::shared_ptr<Geocoder> create();

    explicit Geocoder(std::shared_ptr<MainQueue> mainQueue);

    void geocodeAddressString(const std::string& address, CompletionHandler completionHandler);
    // Whether a lookup of this geocoder has not answered yet.
    bool isGeocoding() const { return inFlight_ > 0; }

private:
    const std::shared_ptr<MainQueue> mainQueue_;
    int inFlight_ = 0;
};

}  // namespace kelpa::platform
