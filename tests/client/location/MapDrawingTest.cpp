#include "MapFixture.h"

#include "client/location/KelpaAnnotation.h"
#include "client/model/Member.h"
#include "client/model/Waypoint.h"
#include "platform/maps/DirectionsTransportType.h"
#include "platform/maps/PinAnnotationView.h"
#include "platform/maps/PolylineView.h"
#include "platform/ui/ImageView.h"


namespace kelpa::testing {
namespace {

using namespace std::chrono_literals;

struct Drawing : ::testing::Test, MapFixture {
    std::shared_ptr<platform::PinAnnotationView> pinView(const std::string& title) {
        return std::dynamic_pointer_cast<platform::PinAnnotationView>(
            mapDriver.map()->viewForAnnotation(mapDriver.pin(title)));
    }
};

TEST_F(Drawing, TheMapStartsOverGermany) {
    show();
    const auto& region = mapDriver.map()->region();
    EXPECT_DOUBLE_EQ(region.center.latitude, 51.299711);
    EXPECT_DOUBLE_EQ(region.center.longitude, 10.107422);
    EXPECT_DOUBLE_EQ(region.span.latitudeDelta, 8.5);
    EXPECT_DOUBLE_EQ(region.span.longitudeDelta, 8.5);
    EXPECT_TRUE(mapDriver.map()->lastRegionAnimated());
}

TEST_F(Drawing, OtherJoinedMembersAreGreenPinsAndWaypointsNumberedRedPins) {
    join(tour());
    show();
    auto pins = mapDriver.pins();
    // Waypoints first (drawn first on appearing), then members; no pin for Ann herself or for
    // Cid, who has not joined.
    ASSERT_EQ(pins.size(), 3u);
    EXPECT_EQ(pins[0], "0");
    EXPECT_EQ(pins[1], "1");
    EXPECT_EQ(pins[2].rfind("Bob | synced: ", 0), 0u) << pins[2];
    EXPECT_EQ(pinView("0")->pinColor(), platform::PinAnnotationView::red);
    EXPECT_TRUE(pinView("0")->canShowCallout());
    auto detail = std::dynamic_pointer_cast<platform::ui::Button>(pinView("0")->rightCalloutAccessoryView());
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->buttonType(), platform::ui::Button::Type::detailDisclosure);
    EXPECT_EQ(pinView("Bob")->pinColor(), platform::PinAnnotationView::green);
    EXPECT_TRUE(pinView("Bob")->canShowCallout());
    EXPECT_EQ(screen->memberAnnotations.size(), 1u);
    EXPECT_EQ(screen->waypointAnnotations.size(), 2u);
}

TEST_F(Drawing, AMembersPictureArrivesInTheCalloutLater) {
    join(tour());
    show();
    auto view = pinView("Bob");
    // The service has no picture (no reply): the default one shows, 30 by 30.
    auto picture = std::dynamic_pointer_cast<platform::ui::ImageView>(view->leftCalloutAccessoryView());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->frame(), (platform::ui::Rect{0, 0, 30, 30}));
}

TEST_F(Drawing, MembersWithoutAPlaceOrNotJoinedGetNoPin) {
    auto halfPlaced = member("8", "Dan", "D8", std::pair{48.0, 11.0});
    halfPlaced["Device"]["Position"].erase("longi");
    auto notJoined = member("9", "Eve", "D9", std::pair{48.0, 11.0});
    notJoined.erase("joined");
    join(groupJSON(1, json::array({member("5", "Ann", "D5", std::pair{48.0, 11.0}), member("6", "Bob", "D6"),
                                   halfPlaced, notJoined})));
    show();
    EXPECT_TRUE(mapDriver.pins().empty());
}

TEST_F(Drawing, EachCycleReplacesTheMemberPinsInsteadOfMovingThem) {
    join(tour());
    show();
    auto first = mapDriver.pin("Bob");
    app.t.http().queueJSONForAction(201, json::array({position("D6", 48.6, 11.6)}));
    run(10s);
    auto second = mapDriver.pin("Bob");
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->coordinate().latitude, static_cast<float>(48.5));
    EXPECT_EQ(second->coordinate().latitude, static_cast<float>(48.6));
    EXPECT_EQ(mapDriver.pins().size(), 3u);
}

TEST_F(Drawing, LeavingKeepsThePinsUntilTheNextRebuild) {
    join(tour());
    show();
    app.t.http().queueJSONForAction(308, {{"code", 0}});
    driver.tap("unjoin");
    app.t.settle();
    EXPECT_EQ(mapDriver.pins().size(), 3u);
    screen->addMemberAnnotations();
    screen->addWaypointAnnotations();
    EXPECT_TRUE(mapDriver.pins().empty());
}

TEST(DrawingRoutes, AWaypointsRouteUsesTheTravelModesTransport) {
    struct Case {
        int type;
        unsigned transport;
    };
    // Car, walking, bike (any way), and a mode that leaves the default.
    const Case cases[] = {{1, platform::automobile}, {3, platform::walking}, {2, platform::any}, {0, platform::any}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        MapFixture m;
        m.app.location->setLastKnownLocation(MapFixture::place(48.0, 11.0));
        m.join(MapFixture::tour(c.type));
        m.show();
        ASSERT_TRUE(m.mapDriver.selectPin("1"));
        m.app.t.settle();
        auto asked = m.routing->asked();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].transportType, c.transport);
        EXPECT_FALSE(asked[0].alternatives);
        EXPECT_EQ(asked[0].to.latitude, static_cast<float>(48.5));
        EXPECT_EQ(asked[0].from.latitude, 48.0);
        ASSERT_EQ(m.mapDriver.routeCount(), 1u);
        auto line = std::dynamic_pointer_cast<platform::PolylineView>(
            m.mapDriver.map()->viewForOverlay(m.mapDriver.map()->overlays()[0]));
        ASSERT_TRUE(line);
        EXPECT_EQ(line->lineWidth(), 10.0);
        EXPECT_EQ(line->strokeColor(), (platform::ui::Color{55.0 / 255, 168.0 / 255, 219.0 / 255, 1.0}));
        EXPECT_EQ(m.mapDriver.map()->overlaysInLevel(platform::OverlayLevel::aboveRoads).size(), 1u);
    }
}

TEST_F(Drawing, TheRouteGoesOnDeselectionAndOnAnotherSelection) {
    app.location->setLastKnownLocation(MapFixture::place(48.0, 11.0));
    join(tour());
    show();
    mapDriver.selectPin("0");
    app.t.settle();
    ASSERT_EQ(mapDriver.routeCount(), 1u);
    mapDriver.deselectPin();
    EXPECT_EQ(mapDriver.routeCount(), 0u);

    mapDriver.selectPin("0");
    app.t.settle();
    ASSERT_EQ(mapDriver.routeCount(), 1u);
    // A member pin clears the route and asks for none.
    mapDriver.selectPin("Bob");
    app.t.settle();
    EXPECT_EQ(mapDriver.routeCount(), 0u);
    EXPECT_EQ(routing->asked().size(), 2u);

    // Another waypoint: one route, to it.
    mapDriver.selectPin("0");
    app.t.settle();
    mapDriver.selectPin("1");
    app.t.settle();
    EXPECT_EQ(mapDriver.routeCount(), 1u);
}

TEST_F(Drawing, DirectionsThatFailAreLoggedAndDrawNothing) {
    routing->failWith = "no route";
    app.location->setLastKnownLocation(MapFixture::place(48.0, 11.0));
    join(tour());
    show();
    mapDriver.selectPin("1");
    app.t.settle();
    EXPECT_EQ(mapDriver.routeCount(), 0u);
    EXPECT_TRUE(app.t.logged("Error no route"));
}

TEST_F(Drawing, TheCalloutButtonOpensDirectionsToTheNarrowedPlace) {
    join(tour());
    show();
    mapDriver.selectPin("0");  // stored at 48.1, 11.25
    app.t.settle();
    ASSERT_TRUE(mapDriver.tapCalloutDetail("0"));
    mapDriver.selectPin("1");  // stored at 48.5, 11.25
    app.t.settle();
    ASSERT_TRUE(mapDriver.tapCalloutDetail("1"));
    EXPECT_EQ(app.urls->opened, (std::vector<std::string>{
                                    "https://www.openstreetmap.org/directions?daddr=48.099998,11.250000",
                                    "https://www.openstreetmap.org/directions?daddr=48.500000,11.250000"}));
}

TEST_F(Drawing, TheDirectionsPageIsTheEnvironmentsMapsApplication) {
    app.t.env().mapsDirectionsURL = "http://maps.example/dir";
    EXPECT_EQ(MapViewController::directionsURL({-33.5, 151.25}), "http://maps.example/dir?daddr=-33.500000,151.250000");
}

TEST(KelpaAnnotationRecord, TheHeldRecordDecidesTheKind) {
    auto member = std::make_shared<Member>();
    auto waypoint = std::make_shared<Waypoint>();
    auto asMember = KelpaAnnotation::initWithObject(member);
    auto asWaypoint = KelpaAnnotation::initWithObject(waypoint);
    auto other = KelpaAnnotation::initWithObject(std::make_shared<int>(3));
    EXPECT_EQ(asMember->member(), member);
    EXPECT_FALSE(asMember->waypoint());
    EXPECT_EQ(asWaypoint->waypoint(), waypoint);
    EXPECT_FALSE(asWaypoint->member());
    EXPECT_FALSE(other->member());
    EXPECT_FALSE(other->waypoint());
    EXPECT_FALSE(asMember->title());
}

}  // namespace
}  // namespace kelpa::testing
