#include "platform/maps/OsrmRouting.h"

#include "platform/Environment.h"
#include "platform/location/ServiceUserAgent.h"
#include "platform/maps/DirectionsTransportType.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <cmath>

namespace kelpa::platform {

namespace {
const std::string kUnreadable = "routing failed: unreadable reply";

std::string point(LocationCoordinate2D coordinate) {
    // OSRM takes longitude first; six decimals are a tenth of a metre.
    return fmt::format("{:.6f},{:.6f}", coordinate.longitude, coordinate.latitude);
}

double number(const nlohmann::json& object, const char* key) {
    auto it = object.find(key);
    return it != object.end() && it->is_number() ? it->get<double>() : 0.0;
}

// A GeoJSON LineString's [longitude, latitude] pairs; none when it is not one.
std::optional<std::vector<LocationCoordinate2D>> lineOf(const nlohmann::json& route) {
    auto geometry = route.find("geometry");
    if (geometry == route.end() || !geometry->is_object()) return std::nullopt;
    auto points = geometry->find("coordinates");
    if (points == geometry->end() || !points->is_array()) return std::nullopt;
    std::vector<LocationCoordinate2D> line;
    line.reserve(points->size());
    for (const auto& p : *points) {
        if (!p.is_array() || p.size() < 2 || !p[0].is_number() || !p[1].is_number()) return std::nullopt;
        line.push_back(LocationCoordinate2D{p[1].get<double>(), p[0].get<double>()});
    }
    return line;
}
}  // namespace

OsrmRouting::OsrmRouting(std::string baseURL) : baseURL_(std::move(baseURL)) {
    while (!baseURL_.empty() && baseURL_.back() == '/') baseURL_.pop_back();
}

const char* OsrmRouting::profileFor(unsigned transportType) {
    if (transportType == automobile) return "driving";
    if (transportType == walking) return "foot";
    return "bike";
}

HttpRequest OsrmRouting::routeRequest(LocationCoordinate2D from, LocationCoordinate2D to, unsigned transportType,
                                      bool alternatives) const {
    HttpRequest request;
    request.method = "GET";
    request.url = fmt::format("{}/route/v1/{}/{};{}?overview=full&geometries=geojson&alternatives={}", baseURL_,
                              profileFor(transportType), point(from), point(to), alternatives ? "true" : "false");
    request.headers = {{"User-Agent", kServiceUserAgent}, {"Accept", "application/json"}};
    request.timeout = std::chrono::seconds(30);
    request.handleCookies = false;
    return request;
}

std::variant<std::vector<Route>, std::string> OsrmRouting::route(LocationCoordinate2D from, LocationCoordinate2D to,
                                                                 unsigned transportType, bool alternatives) {
    auto http = Environment::current()->http;
    if (!http) return std::string("routing failed: no network");
    auto response = http->send(routeRequest(from, to, transportType, alternatives));
    if (!response) return std::string("routing failed: no reply from the routing service");
    return parseReply(*response);
}

std::variant<std::vector<Route>, std::string> OsrmRouting::parseReply(const HttpResponse& response) {
    auto json = nlohmann::json::parse(response.body, nullptr, false);
    const bool envelope = !json.is_discarded() && json.is_object();
    // OSRM explains a refusal ("NoRoute", "InvalidQuery") in the body of a 400.
    if (envelope && json.contains("code") && json["code"].is_string() && json["code"] != "Ok") {
        auto text = "routing failed: " + json["code"].get<std::string>();
        if (json.contains("message") && json["message"].is_string()) text += ": " + json["message"].get<std::string>();
        return text;
    }
    if (response.status != 200) return "routing failed: HTTP " + std::to_string(response.status);
    if (!envelope || !json.contains("code") || !json.contains("routes") || !json["routes"].is_array()) {
        return kUnreadable;
    }
    std::vector<Route> routes;
    for (const auto& item : json["routes"]) {
        if (!item.is_object()) return kUnreadable;
        auto line = lineOf(item);
        if (!line) return kUnreadable;
        Route route;
        route.polyline = Polyline::polylineWithCoordinates(std::move(*line));
        route.distance = number(item, "distance");
        route.expectedTravelTime = number(item, "duration");
        routes.push_back(std::move(route));
    }
    if (routes.empty()) return std::string("routing failed: no route found");
    return routes;
}

}  // namespace kelpa::platform
