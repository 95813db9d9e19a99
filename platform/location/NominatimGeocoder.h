#pragma once

#include "platform/HttpClient.h"
#include "platform/location/GeocodingService.h"

#include <memory>
#include <string>

namespace kelpa::platform {

// Geocoding by a Nominatim-compatible service, through the given HTTP client or else the
// environment's.
class NominatimGeocoder : public GeocodingService {
public:
    static constexpr const char* kDefaultBaseURL = "https://nominatim.openstreetmap.org";
    static constexpr int kResultLimit = 5;

    explicit NominatimGeocoder(std::string baseURL = kDefaultBaseURL, std::shared_ptr<HttpClient> http = nullptr);

    std::variant<std::vector<Placemark>, std::string> geocode(const std::string& address) override;

    // The search request for an address; exposed so its shape can be checked.
    HttpRequest searchRequest(const std::string& address) const;
    // Reads a search reply: the places in the order the service ranked them, or an error.
    static std::variant<std::vector<Placemark>, std::string> parseReply(const std::string& address,
                                                                        const HttpResponse& response);

private:
    std::string baseURL_;
    std::shared_ptr<HttpClient> http_;
};

}  // namespace kelpa::platform
