#include "LoopbackHttpServer.h"
#include "TestEnvironment.h"

#include "platform/location/ManualLocationProvider.h"
#include "platform/maps/Directions.h"
#include "platform/maps/OsrmRouting.h"

#include <gtest/gtest.h>

namespace kelpa::platform {
namespace {

using testing::LoopbackHttpServer;

using Server = LoopbackHttpServer;

const char* kTwoRoutes = R"({"code": "Ok",
  "routes": [
    {"geometry": {"type": "LineString", "coordinates": [[11.575, 48.137], [11.4, 48.3], [11.25, 48.5]]},
     "distance": 45210.5, "duration": 2712.3, "legs": []},
    {"geometry": {"type": "LineString", "coordinates": [[11.575, 48.137], [11.25, 48.5]]},
     "distance": 50000, "duration": 3000}
  ],
  "waypoints": []})";

struct Answer {
    std::optional<DirectionsResponse> response;
    std::optional<std::string> error;
    int calls = 0;
};

class DirectionsTest : public ::testing::Test {
protected:
    DirectionsTest() {
        t.useRealNetwork();
        t.env().location = provider;
        Location here;
        here.coordinate = {48.137, 11.575};
        provider->setLastKnownLocation(here);
    }

    DirectionsRequest toWaypoint(unsigned transportType) {
        DirectionsRequest request;
        request.setSource(MapItem::mapItemForCurrentLocation());
        request.setDestination(MapItem::initWithPlacemark(Placemark{{48.5, 11.25}, "", ""}));
        request.setRequestsAlternateRoutes(false);
        request.setTransportType(transportType);
        return request;
    }

    // Calculates with a Directions object that is gone before the answer comes.
    Answer calculate(DirectionsRequest request) {
        auto answer = std::make_shared<Answer>();
        {
            Directions directions(std::move(request));
            directions.calculateDirectionsWithCompletionHandler([answer](auto response, auto error) {
                answer->response = std::move(response);
                answer->error = std::move(error);
                ++answer->calls;
            });
        }
        EXPECT_EQ(answer->calls, 0);  // never inside the call
        t.loop().runUntil([&] { return answer->calls > 0; });
        t.settle();
        return *answer;
    }

    testing::TestEnvironment t;
    std::shared_ptr<ManualLocationProvider> provider = std::make_shared<ManualLocationProvider>();
};

TEST_F(DirectionsTest, AsksOsrmWithTheProfileOfTheTransportType) {
    struct Case {
        unsigned transportType;
        const char* profile;
    };
    for (const auto& c : {
             Case{automobile, "driving"},
             Case{walking, "foot"},
             Case{any, "bike"},
             Case{transit, "bike"},
             Case{automobile | walking, "bike"},
         }) {
        LoopbackHttpServer osrm([](const std::string&) { return LoopbackHttpServer::Reply{200, kTwoRoutes}; });
        t.env().routing = std::make_shared<OsrmRouting>(osrm.url());
        auto answer = calculate(toWaypoint(c.transportType));
        ASSERT_EQ(osrm.requests().size(), 1u);
        EXPECT_EQ(Server::requestLine(osrm.requests()[0]),
                  std::string("GET /route/v1/") + c.profile +
                      "/11.575000,48.137000;11.250000,48.500000?overview=full&geometries=geojson&alternatives=false "
                      "HTTP/1.1");
        EXPECT_NE(LoopbackHttpServer::headOf(osrm.requests()[0]).find("\r\nUser-Agent: Kelpa/0.1 (+https://kelpa.invalid)"),
                  std::string::npos);
        EXPECT_FALSE(answer.error) << c.profile;
    }
}

TEST_F(DirectionsTest, GivesTheRoutesInTheServicesOrderWithTheirLines) {
    LoopbackHttpServer osrm([](const std::string&) { return LoopbackHttpServer::Reply{200, kTwoRoutes}; });
    t.env().routing = std::make_shared<OsrmRouting>(osrm.url() + "/");
    auto request = toWaypoint(automobile);
    request.setRequestsAlternateRoutes(true);
    auto answer = calculate(request);
    EXPECT_NE(Server::requestLine(osrm.requests().at(0)).find("&alternatives=true "), std::string::npos);

    ASSERT_FALSE(answer.error) << *answer.error;
    ASSERT_TRUE(answer.response);
    const auto& routes = answer.response->routes;
    ASSERT_EQ(routes.size(), 2u);
    ASSERT_TRUE(routes[0].polyline);
    // GeoJSON gives longitude first.
    EXPECT_EQ(routes[0].polyline->coordinates(),
              (std::vector<LocationCoordinate2D>{{48.137, 11.575}, {48.3, 11.4}, {48.5, 11.25}}));
    EXPECT_EQ(routes[0].distance, 45210.5);
    EXPECT_EQ(routes[0].expectedTravelTime, 2712.3);
    EXPECT_EQ(routes[1].polyline->pointCount(), 2u);
    EXPECT_EQ(routes[1].distance, 50000);
}

TEST_F(DirectionsTest, FailuresBecomeErrorTexts) {
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply reply;
        std::string error;
    };
    for (const auto& c : {
             Case{"no route", {400, R"({"code": "NoRoute", "message": "Impossible route between points"})"},
                  "routing failed: NoRoute: Impossible route between points"},
             Case{"a refusal without message", {200, R"({"code": "TooBig"})"}, "routing failed: TooBig"},
             Case{"server error", {502, "<html>bad gateway</html>"}, "routing failed: HTTP 502"},
             Case{"not JSON", {200, "oops"}, "routing failed: unreadable reply"},
             Case{"no routes member", {200, R"({"code": "Ok"})"}, "routing failed: unreadable reply"},
             Case{"a broken line", {200, R"({"code": "Ok", "routes": [{"geometry": {"coordinates": [[1]]}}]})"},
                  "routing failed: unreadable reply"},
             Case{"no routes", {200, R"({"code": "Ok", "routes": []})"}, "routing failed: no route found"},
             Case{"hang-up", Server::hangUp(), "routing failed: no reply from the routing service"},
         }) {
        LoopbackHttpServer osrm([&](const std::string&) { return c.reply; });
        t.env().routing = std::make_shared<OsrmRouting>(osrm.url());
        auto answer = calculate(toWaypoint(walking));
        EXPECT_EQ(answer.calls, 1) << c.name;
        EXPECT_FALSE(answer.response) << c.name;
        EXPECT_EQ(answer.error, c.error) << c.name;
    }
}

TEST_F(DirectionsTest, TheCurrentLocationMustBeKnown) {
    LoopbackHttpServer osrm([](const std::string&) { return LoopbackHttpServer::Reply{200, kTwoRoutes}; });
    t.env().routing = std::make_shared<OsrmRouting>(osrm.url());
    provider->setLastKnownLocation(std::nullopt);
    auto answer = calculate(toWaypoint(automobile));
    EXPECT_EQ(answer.error, "The current location is unknown");
    EXPECT_TRUE(osrm.requests().empty());

    t.env().location = nullptr;  // no location source at all
    answer = calculate(toWaypoint(automobile));
    EXPECT_EQ(answer.error, "The current location is unknown");

    // Between two placemarks no location is needed.
    auto request = toWaypoint(automobile);
    request.setSource(MapItem::initWithPlacemark(Placemark{{52.52, 13.405}, "Berlin", ""}));
    answer = calculate(request);
    EXPECT_FALSE(answer.error);
    EXPECT_TRUE(Server::requestLine(osrm.requests().at(0)).starts_with("GET /route/v1/driving/13.405000,52.520000;11.250000,48.500000?"));
}

TEST_F(DirectionsTest, WithoutARoutingServiceOrEndsThereAreNoDirections) {
    auto answer = calculate(toWaypoint(automobile));
    EXPECT_EQ(answer.error, "directions are not available");

    LoopbackHttpServer osrm([](const std::string&) { return LoopbackHttpServer::Reply{200, kTwoRoutes}; });
    t.env().routing = std::make_shared<OsrmRouting>(osrm.url());
    auto request = toWaypoint(automobile);
    request.setDestination(nullptr);
    answer = calculate(request);
    EXPECT_EQ(answer.error, "a route needs a source and a destination");
    EXPECT_TRUE(osrm.requests().empty());
}

}  // namespace
}  // namespace kelpa::platform
