#include "LoopbackHttpServer.h"
#include "TestEnvironment.h"

#include "platform/location/Geocoder.h"
#include "platform/location/NominatimGeocoder.h"

#include <gtest/gtest.h>

namespace kelpa::platform {
namespace {

using testing::LoopbackHttpServer;

using Server = LoopbackHttpServer;

const char* kTwoPlaces = R"([
  {"place_id": 1, "lat": "48.1373932", "lon": "11.5754485", "name": "Marienplatz",
   "display_name": "Marienplatz, Altstadt-Lehel, München, Bayern, 80331, Deutschland"},
  {"place_id": 2, "lat": "48.1371", "lon": "11.5761", "name": "",
   "display_name": "Marienplatz 1, München, Deutschland"}
])";

struct Answer {
    std::optional<std::vector<Placemark>> placemarks;
    std::optional<std::string> error;
    int calls = 0;
};

class GeocoderTest : public ::testing::Test {
protected:
    GeocoderTest() { t.useRealNetwork(); }

    // Looks the address up through a geocoder that the caller lets go of at once.
    Answer lookUp(const std::string& address) {
        auto answer = std::make_shared<Answer>();
        Geocoder::create()->geocodeAddressString(address, [answer](auto placemarks, auto error) {
            answer->placemarks = std::move(placemarks);
            answer->error = std::move(error);
            ++answer->calls;
        });
        EXPECT_EQ(answer->calls, 0);  // never inside the call
        t.loop().runUntil([&] { return answer->calls > 0; });
        t.settle();
        return *answer;
    }

    testing::TestEnvironment t;
};

TEST_F(GeocoderTest, AsksNominatimAndGivesThePlacesInTheirOrder) {
    LoopbackHttpServer nominatim([](const std::string&) { return LoopbackHttpServer::Reply{200, kTwoPlaces}; });
    t.env().geocoding = std::make_shared<NominatimGeocoder>(nominatim.url() + "/");
    auto answer = lookUp("Marienplatz 1, München & more");

    ASSERT_EQ(nominatim.requests().size(), 1u);
    const auto raw = nominatim.requests()[0];
    EXPECT_EQ(Server::requestLine(raw),
              "GET /search?q=Marienplatz%201%2C%20M%C3%BCnchen%20%26%20more&format=jsonv2&limit=5 HTTP/1.1");
    EXPECT_NE(LoopbackHttpServer::headOf(raw).find("\r\nUser-Agent: Kelpa/0.1 (+https://kelpa.invalid)"),
              std::string::npos);

    ASSERT_FALSE(answer.error) << *answer.error;
    ASSERT_TRUE(answer.placemarks);
    EXPECT_EQ(*answer.placemarks,
              (std::vector<Placemark>{
                  {{48.1373932, 11.5754485}, "Marienplatz",
                   "Marienplatz, Altstadt-Lehel, München, Bayern, 80331, Deutschland"},
                  // Without a name, the first part of the address names the place.
                  {{48.1371, 11.5761}, "Marienplatz 1", "Marienplatz 1, München, Deutschland"},
              }));
}

TEST_F(GeocoderTest, FailuresOfTheServiceBecomeErrorTexts) {
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply reply;
        std::string error;
    };
    for (const auto& c : {
             Case{"server error", {503, "busy"}, "geocoding failed: HTTP 503"},
             Case{"not JSON", {200, "<html>"}, "geocoding failed: unreadable reply"},
             Case{"an object, not a list", {200, R"({"error": "Unable to geocode"})"}, "geocoding failed: unreadable reply"},
             Case{"nothing found", {200, "[]"}, "no places found for \"Atlantis\""},
             Case{"no usable position", {200, R"([{"lat": "north", "lon": "11"}, {"lat": "91", "lon": "0"}, {"name": "x"}])"},
                  "no places found for \"Atlantis\""},
             Case{"hang-up", Server::hangUp(), "geocoding failed: no reply from the geocoding service"},
         }) {
        LoopbackHttpServer nominatim([&](const std::string&) { return c.reply; });
        t.env().geocoding = std::make_shared<NominatimGeocoder>(nominatim.url());
        auto answer = lookUp("Atlantis");
        EXPECT_EQ(answer.calls, 1) << c.name;
        EXPECT_FALSE(answer.placemarks) << c.name;
        EXPECT_EQ(answer.error, c.error) << c.name;
    }
}

TEST_F(GeocoderTest, NumbersForCoordinatesAreReadToo) {
    LoopbackHttpServer nominatim([](const std::string&) {
        return LoopbackHttpServer::Reply{200, R"([{"lat": -33.8568, "lon": 151.2153, "display_name": "Sydney Opera House"}])"};
    });
    t.env().geocoding = std::make_shared<NominatimGeocoder>(nominatim.url());
    auto answer = lookUp("opera");
    ASSERT_TRUE(answer.placemarks);
    EXPECT_EQ(*answer.placemarks, (std::vector<Placemark>{{{-33.8568, 151.2153}, "Sydney Opera House", "Sydney Opera House"}}));
}

TEST_F(GeocoderTest, ABlankAddressIsNotSentAnywhere) {
    LoopbackHttpServer nominatim([](const std::string&) { return LoopbackHttpServer::Reply{200, kTwoPlaces}; });
    t.env().geocoding = std::make_shared<NominatimGeocoder>(nominatim.url());
    auto answer = lookUp("  ");
    EXPECT_EQ(answer.error, "no address to look up");
    EXPECT_TRUE(nominatim.requests().empty());
}

TEST_F(GeocoderTest, WithoutAServiceTheAnswerIsThatGeocodingIsNotAvailable) {
    auto answer = lookUp("Marienplatz");
    EXPECT_EQ(answer.calls, 1);
    EXPECT_FALSE(answer.placemarks);
    EXPECT_EQ(answer.error, "geocoding is not available");
}

TEST_F(GeocoderTest, TheServiceRunsOffTheMainQueueAndTheAnswerOnIt) {
    struct Probe : GeocodingService {
        std::shared_ptr<MainQueue> main = Environment::current()->mainQueue;
        bool ranOnMain = true;
        std::variant<std::vector<Placemark>, std::string> geocode(const std::string&) override {
            ranOnMain = main->isMainThread();
            throw std::runtime_error("boom");
        }
    };
    auto probe = std::make_shared<Probe>();
    t.env().geocoding = probe;
    auto geocoder = Geocoder::create();
    bool answeredOnMain = false;
    std::optional<std::string> error;
    geocoder->geocodeAddressString("x", [&](auto, auto e) {
        answeredOnMain = t.loop().isMainThread();
        error = e;
    });
    EXPECT_TRUE(geocoder->isGeocoding());
    t.settle();
    EXPECT_FALSE(geocoder->isGeocoding());
    EXPECT_FALSE(probe->ranOnMain);
    EXPECT_TRUE(answeredOnMain);
    // A service that throws is an error like any other.
    EXPECT_EQ(error, "geocoding failed: boom");
}

}  // namespace
}  // namespace kelpa::platform
