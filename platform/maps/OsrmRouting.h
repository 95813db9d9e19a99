#pragma once

#include "platform/HttpClient.h"
#include "platform/maps/RoutingService.h"

#include <string>

namespace kelpa::platform {

// Routing by an OSRM-compatible service, through the environment's HTTP client.
//
// Profiles: automobile alone is "driving", walking alone is "foot", and anything else is
// "bike". The app asks for "any" only for cycling groups, and OSRM has no transit profile,
// so the bicycle is the fitting answer for every other set.
class OsrmRouting : public RoutingService {
public:
    static constexpr const char* kDefaultBaseURL = "https://router.project-osrm.org";

    explicit OsrmRouting(std::string baseURL = kDefaultBaseURL);

    std::variant<std::vector<Route>, std::string> route(LocationCoordinate2D from, LocationCoordinate2D to,
                                                        unsigned transportType, bool alternatives) override;

    static const char* profileFor(unsigned transportType);
    // The route request; exposed so its shape can be checked.
    HttpRequest routeRequest(LocationCoordinate2D from, LocationCoordinate2D to, unsigned transportType,
                             bool alternatives) const;
    // Reads a route reply: the routes in the service's order, or an error text.
    static std::variant<std::vector<Route>, std::string> parseReply(const HttpResponse& response);

private:
    std::string baseURL_;
};

}  // namespace kelpa::platform
