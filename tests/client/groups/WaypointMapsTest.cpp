// The two waypoint maps: the last step of planning a group, which numbers the places as pins
// and waypoints from 0 and creates the group, and a group's stored waypoints, read-only.
#include "GroupsFixture.h"

#include "client/groups/GroupDetailsViewController.h"
#include "client/location/AddAnnotationsViewController.h"
#include "client/location/PinsRegion.h"
#include "client/location/WaypointsMapViewController.h"
#include "client/model/Waypoint.h"

namespace kelpa::testing {
namespace {

struct Pin {
    std::optional<std::string> title;
    double latitude;
    double longitude;
    bool operator==(const Pin&) const = default;
};

std::vector<Pin> pins(const platform::MapView& map) {
    std::vector<Pin> out;
    for (const auto& annotation : map.annotations()) {
        EXPECT_FALSE(annotation->subtitle());
        out.push_back({annotation->title(), annotation->coordinate().latitude, annotation->coordinate().longitude});
    }
    return out;
}

std::vector<platform::Placemark> places(std::vector<platform::LocationCoordinate2D> coordinates) {
    std::vector<platform::Placemark> out;
    for (const auto& coordinate : coordinates) out.push_back({coordinate, "", ""});
    return out;
}

// The last step with the places handed in, shown over "Home" like the wizard's stack.
std::shared_ptr<AddAnnotationsViewController> lastStep(GroupsFixture& f, std::vector<platform::Placemark> placemarks,
                                                       RecordList<User> users = {}) {
    auto screen = std::make_shared<AddAnnotationsViewController>();
    screen->placemarks = std::move(placemarks);
    screen->users = std::move(users);
    screen->group = std::make_shared<Group>();
    screen->group->jDescription = "Tour";
    screen->group->GroupType = 2;
    f.show(screen);
    return screen;
}

TEST(AddAnnotations, PlacesBecomePinsAndWaypointsNumberedFromZero) {
    GroupsFixture f;
    auto screen = lastStep(f, places({{48.1373932, 11.5754485}, {-33.852306, 151.210787}, {0, 0}}));
    EXPECT_EQ(pins(*screen->map), (std::vector<Pin>{{"0", 48.1373932, 11.5754485},
                                                    {"1", -33.852306, 151.210787},
                                                    {"2", 0, 0}}));
    ASSERT_EQ(screen->waypoints.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(screen->waypoints[i]->number, static_cast<double>(i));
        EXPECT_EQ(screen->waypoints[i]->lati, screen->placemarks[i].coordinate.latitude);
        EXPECT_EQ(screen->waypoints[i]->longi, screen->placemarks[i].coordinate.longitude);
        EXPECT_EQ(screen->waypoints[i]->waypointID, "");
        EXPECT_EQ(screen->waypoints[i]->groupID, "");
    }
    EXPECT_EQ(f.driver.text("create"), "Create");
}

TEST(AddAnnotations, CreatingSendsTheGroupItsWaypointsInOrderAndItsInvitations) {
    GroupsFixture f;
    lastStep(f, places({{48.1, 11.5}, {48.2, 11.6}}),
             {User::initWithJSON(AppFixture::userJSON("6", "Bob")), User::initWithJSON(AppFixture::userJSON("7", "Cleo"))});
    f.app.t.http().queueJSONForAction(300, json{{"code", 0}, {"groupID", "44"}, {"wordOne", "kelp"}, {"wordTwo", "otter"}});
    EXPECT_TRUE(f.driver.tap("create"));
    f.app.t.settle();
    EXPECT_EQ(f.app.field(300, "description"), "Tour");
    EXPECT_EQ(f.app.field(300, "groupType"), "2");
    ASSERT_EQ(f.app.sent(400), 2u);
    std::multiset<std::string> numbers{*f.app.field(400, "number", 0), *f.app.field(400, "number", 1)};
    EXPECT_EQ(numbers, (std::multiset<std::string>{"0", "1"}));
    EXPECT_EQ(f.app.sent(306), 2u);
}

TEST(AddAnnotations, NoPlacesGiveNoPinsAndAGroupWithoutWaypoints) {
    GroupsFixture f;
    auto screen = lastStep(f, {});
    EXPECT_TRUE(screen->map->annotations().empty());
    EXPECT_TRUE(screen->waypoints.empty());
    f.app.t.http().queueJSONForAction(300, json{{"code", 0}, {"groupID", "44"}, {"wordOne", "a"}, {"wordTwo", "b"}});
    EXPECT_TRUE(f.driver.tap("create"));
    f.app.t.settle();
    EXPECT_EQ(f.app.sent(300), 1u);
    EXPECT_EQ(f.app.sent(400), 0u);
    EXPECT_EQ(f.driver.alertTitle(), "a b");
}

TEST(AddAnnotations, TheOutcomeOfCreation) {
    for (const auto& c : GroupsFixture::creationOutcomes()) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        lastStep(f, places({{48.1, 11.5}}));
        if (c.reply) f.app.t.http().queueJSONForAction(300, *c.reply);
        EXPECT_TRUE(f.driver.tap("create"));
        f.expectCreationOutcome(c, "AddAnnotationsViewController");
    }
}

json waypoint(const std::string& id, double lati, double longi, std::optional<double> number) {
    json w{{"waypointID", id}, {"lati", lati}, {"longi", longi}, {"groupID", "17"}};
    if (number) w["number"] = *number;
    return w;
}

TEST(WaypointsMap, TheGroupsWaypointsFromItsDetailsAsPinsTitledByNumber) {
    GroupsFixture f;
    json tour = GroupsFixture::group("17", "Tour");
    tour["Waypoints"] = json::array({waypoint("w4", 48.1234567, 11.7654321, 4), waypoint("w0", -33.5, 151.25, 0)});
    auto details = std::dynamic_pointer_cast<GroupDetailsViewController>(f.screen("GroupDetails"));
    ASSERT_TRUE(details);
    details->group = Group::initWithJSON(tour);
    f.show(details);
    EXPECT_TRUE(f.driver.tap("groupWaypoints"));
    f.app.t.settle();
    auto* map = dynamic_cast<WaypointsMapViewController*>(f.driver.frontmost());
    ASSERT_TRUE(map);
    EXPECT_EQ(map->group, details->group);
    // Single precision, as the pins are placed.
    EXPECT_EQ(pins(*map->mapView), (std::vector<Pin>{{"4", static_cast<float>(48.1234567), static_cast<float>(11.7654321)},
                                                     {"0", -33.5, 151.25}}));
    EXPECT_EQ(f.app.sent(400), 0u);
}

TEST(WaypointsMap, NoWaypointsNoPins) {
    for (const bool listed : {true, false}) {
        SCOPED_TRACE(listed);
        GroupsFixture f;
        auto map = std::make_shared<WaypointsMapViewController>();
        map->group = std::make_shared<Group>();
        if (listed) map->group->waypoints = RecordList<Waypoint>{};
        f.show(map);
        EXPECT_TRUE(map->mapView->annotations().empty());
    }
}

TEST(PinsRegion, BothMapsOpenOnTheirPins) {
    EXPECT_FALSE(PinsRegion::around({}));
    // One pin: a few streets around it.
    EXPECT_EQ(PinsRegion::around({{48.0, 11.0}}), (platform::CoordinateRegion{{48.0, 11.0}, {0.02, 0.02}}));
    auto region = PinsRegion::around({{48.0, 11.0}, {49.0, 13.0}, {48.5, 12.0}});
    ASSERT_TRUE(region);
    EXPECT_DOUBLE_EQ(region->center.latitude, 48.5);
    EXPECT_DOUBLE_EQ(region->center.longitude, 12.0);
    EXPECT_DOUBLE_EQ(region->span.latitudeDelta, 1.4);
    EXPECT_DOUBLE_EQ(region->span.longitudeDelta, 2.8);

    GroupsFixture f;
    auto step = lastStep(f, places({{48.0, 11.0}, {49.0, 13.0}}));
    EXPECT_DOUBLE_EQ(step->map->region().center.latitude, 48.5);
    EXPECT_DOUBLE_EQ(step->map->region().center.longitude, 12.0);
}

}  // namespace
}  // namespace kelpa::testing
