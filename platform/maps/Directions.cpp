#include "platform/maps/Directions.h"

#include "platform/Async.h"
#include "platform/Environment.h"
#include "platform/MainQueue.h"
#include "platform/location/LocationProvider.h"
#include "platform/maps/RoutingService.h"

#include <variant>

namespace kelpa::platform {

namespace {
using Outcome = std::variant<std::vector<Route>, std::string>;

// Where a map item is now; an error text when it is the current location and none is known.
std::variant<LocationCoordinate2D, std::string> whereIs(const std::shared_ptr<MapItem>& item,
                                                        const std::shared_ptr<LocationProvider>& provider) {
    if (!item) return std::string("a route needs a source and a destination");
    if (!item->isCurrentLocation()) return item->placemark().coordinate;
    auto fix = provider ? provider->lastKnownLocation() : std::nullopt;
    if (!fix) return std::string(Directions::kUnknownLocation);
    return fix->coordinate;
}
}  // namespace

Directions::Directions(DirectionsRequest request) : request_(std::move(request)) {}

void Directions::calculateDirectionsWithCompletionHandler(CompletionHandler completionHandler) {
    auto env = Environment::current();
    auto fail = [&](std::string error) {
        // Still an answer that comes later, never inside the call.
        env->mainQueue->post([handler = std::move(completionHandler), error = std::move(error)] {
            if (handler) handler(std::nullopt, error);
        });
    };
    auto routing = env->routing;
    if (!routing) return fail(kNotAvailable);
    auto from = whereIs(request_.source, env->location);
    if (auto* error = std::get_if<std::string>(&from)) return fail(*error);
    auto to = whereIs(request_.destination, env->location);
    if (auto* error = std::get_if<std::string>(&to)) return fail(*error);

    runInBackground(
        "calculateDirections",
        [routing, source = std::get<LocationCoordinate2D>(from), destination = std::get<LocationCoordinate2D>(to),
         type = request_.transportType, alternatives = request_.requestsAlternateRoutes]() -> Outcome {
            // A service that throws must not take the worker down with it.
            try {
                return routing->route(source, destination, type, alternatives);
            } catch (const std::exception& e) {
                return std::string("routing failed: ") + e.what();
            }
        },
        [handler = std::move(completionHandler)](Outcome outcome) {
            if (!handler) return;
            if (auto* routes = std::get_if<std::vector<Route>>(&outcome)) {
                handler(DirectionsResponse{std::move(*routes)}, std::nullopt);
            } else {
                handler(std::nullopt, std::move(std::get<std::string>(outcome)));
            }
        });
}

}  // namespace kelpa::platform
