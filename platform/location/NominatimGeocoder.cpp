#include "platform/location/NominatimGeocoder.h"

#include "platform/Environment.h"
#include "platform/FormEncoding.h"
#include "platform/location/ServiceUserAgent.h"
#include "platform/location/TrackValues.h"

#include <nlohmann/json.hpp>

namespace kelpa::platform {

namespace {
// Nominatim gives coordinates as decimal texts; numbers are accepted too.
std::optional<double> degrees(const nlohmann::json& value) {
    if (value.is_number()) return value.get<double>();
    if (value.is_string()) return TrackValues::number(value.get<std::string>());
    return std::nullopt;
}

// A place without a usable position is of no use to a map.
std::optional<LocationCoordinate2D> coordinateOf(const nlohmann::json& item) {
    auto lat = item.find("lat");
    auto lon = item.find("lon");
    if (lat == item.end() || lon == item.end()) return std::nullopt;
    const auto latitude = degrees(*lat);
    const auto longitude = degrees(*lon);
    if (!latitude || !longitude) return std::nullopt;
    if (!TrackValues::isLatitude(*latitude) || !TrackValues::isLongitude(*longitude)) return std::nullopt;
    return LocationCoordinate2D{*latitude, *longitude};
}

std::string text(const nlohmann::json& item, const char* key) {
    auto it = item.find(key);
    return it != item.end() && it->is_string() ? it->get<std::string>() : std::string();
}
}  // namespace

NominatimGeocoder::NominatimGeocoder(std::string baseURL, std::shared_ptr<HttpClient> http)
    : baseURL_(std::move(baseURL)), http_(std::move(http)) {
    while (!baseURL_.empty() && baseURL_.back() == '/') baseURL_.pop_back();
}

HttpRequest NominatimGeocoder::searchRequest(const std::string& address) const {
    HttpRequest request;
    request.method = "GET";
    request.url = baseURL_ + "/search?q=" + FormEncoding::percentEncode(address) +
                  "&format=jsonv2&limit=" + std::to_string(kResultLimit);
    request.headers = {{"User-Agent", kServiceUserAgent}, {"Accept", "application/json"}};
    request.timeout = std::chrono::seconds(30);
    request.handleCookies = false;
    return request;
}

std::variant<std::vector<Placemark>, std::string> NominatimGeocoder::geocode(const std::string& address) {
    if (TrackValues::trimmed(address).empty()) return std::string("no address to look up");
    auto http = http_ ? http_ : Environment::current()->http;
    if (!http) return std::string("geocoding failed: no network");
    auto response = http->send(searchRequest(address));
    if (!response) return std::string("geocoding failed: no reply from the geocoding service");
    return parseReply(address, *response);
}

std::variant<std::vector<Placemark>, std::string> NominatimGeocoder::parseReply(const std::string& address,
                                                                                const HttpResponse& response) {
    if (response.status != 200) return "geocoding failed: HTTP " + std::to_string(response.status);
    auto json = nlohmann::json::parse(response.body, nullptr, false);
    if (json.is_discarded() || !json.is_array()) return std::string("geocoding failed: unreadable reply");
    std::vector<Placemark> places;
    for (const auto& item : json) {
        if (!item.is_object()) continue;
        auto coordinate = coordinateOf(item);
        if (!coordinate) continue;
        Placemark place;
        place.coordinate = *coordinate;
        place.formattedAddress = text(item, "display_name");
        place.name = text(item, "name");
        if (place.name.empty()) place.name = place.formattedAddress.substr(0, place.formattedAddress.find(','));
        places.push_back(std::move(place));
    }
    if (places.empty()) return "no places found for \"" + address + "\"";
    return places;
}

}  // namespace kelpa::platform
