#include "MapFixture.h"

#include "client/model/Device.h"
#include "client/model/Member.h"
#include "client/model/Position.h"
#include "platform/location/LocationAccuracy.h"
#include "platform/NotificationCenter.h"

namespace kelpa::testing {
namespace {

using namespace std::chrono_literals;

struct Sharing : ::testing::Test, MapFixture {};

TEST_F(Sharing, WithoutAJoinedGroupTheMapShowsNullAndSharesNothing) {
    app.location->setLastKnownLocation(MapFixture::place(48.0, 11.0));
    show();
    EXPECT_EQ(driver.text("groupStatus"), "NULL");
    EXPECT_FALSE(driver.isVisible("unjoin"));
    fix(48.001, 11.0);
    run(60s);
    EXPECT_EQ(downloads(), 0u);
    EXPECT_EQ(reports(), 0u);
    EXPECT_FALSE(screen->downloadTimer);
}

TEST(SharingCases, EachTravelModeHasItsLocationSettingsAndDownloadInterval) {
    struct Case {
        int type;
        double accuracy;
        double filter;
        bool started;
        std::optional<std::chrono::seconds> interval;
    };
    const Case cases[] = {
        {1, platform::kCLLocationAccuracyBestForNavigation, 5.0, true, 10s},
        {2, platform::kCLLocationAccuracyBest, 5.0, true, 20s},
        {3, platform::kCLLocationAccuracyNearestTenMeters, 10.0, true, 30s},
        {4, platform::kCLLocationAccuracyBest, platform::kCLDistanceFilterNone, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        MapFixture m;
        m.join(MapFixture::tour(c.type));
        m.show();
        auto& manager = *m.screen->locationManager;
        EXPECT_EQ(manager.desiredAccuracy(), c.accuracy);
        EXPECT_EQ(manager.distanceFilter(), c.filter);
        EXPECT_EQ(manager.isUpdatingLocation(), c.started);
        EXPECT_EQ(manager.authorizationRequests(), (std::vector<std::string>{"whenInUse", "always"}));
        if (!c.interval) {
            m.run(120s);
            EXPECT_EQ(m.downloads(), 0u);
            continue;
        }
        // The first cycle comes one interval after the start, not at once.
        m.run(*c.interval - 1s);
        EXPECT_EQ(m.downloads(), 0u);
        m.run(1s);
        EXPECT_EQ(m.downloads(), 1u);
        m.run(*c.interval * 2);
        EXPECT_EQ(m.downloads(), 3u);
        EXPECT_TRUE(m.app.t.logged("download positions"));
        EXPECT_TRUE(m.app.t.logged("positions downloaded"));
    }
}

TEST_F(Sharing, OneTimerAcrossAppearancesAndAFreshOneAfterComingBack) {
    join(tour());
    show();
    run(6s);
    // Appearing again while shown neither adds a timer nor restarts the one running.
    auto timer = screen->downloadTimer;
    screen->viewWillAppear(false);
    EXPECT_EQ(screen->downloadTimer, timer);
    run(4s);
    EXPECT_EQ(downloads(), 1u);

    goElsewhere();
    EXPECT_FALSE(screen->downloadTimer);
    EXPECT_FALSE(driver.navigationController()->isNavigationBarHidden());
    run(60s);
    EXPECT_EQ(downloads(), 1u);

    comeBack();
    run(9s);
    EXPECT_EQ(downloads(), 1u);
    run(1s);
    EXPECT_EQ(downloads(), 2u);
}

TEST_F(Sharing, EveryLocationEventIsOneReportOfTheMembersDevice) {
    join(tour());
    show();
    fix(48.2, 11.3);
    fix(48.3, 11.4);
    ASSERT_EQ(reports(), 2u);
    EXPECT_EQ(app.field(200, "lati", 1), "48.3");
    EXPECT_EQ(app.field(200, "longi", 1), "11.4");
    // Location events still report while the map is in the background.
    goElsewhere();
    fix(48.4, 11.5);
    EXPECT_EQ(reports(), 3u);
}

TEST(SharingCases, NoReportWithoutAJoinedGroupOrAMemberRecord) {
    struct Case {
        const char* name;
        std::optional<json> group;
    };
    const Case cases[] = {
        {"no group", std::nullopt},
        {"not a member", MapFixture::groupJSON(1, json::array({MapFixture::member("6", "Bob", "D6", std::pair{48.5, 11.5})}))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MapFixture m;
        if (c.group) m.join(*c.group);
        m.show();
        m.fix(48.2, 11.3);
        EXPECT_EQ(m.reports(), 0u);
    }
}

TEST(SharingCases, AppearingReportsTheLastFixOnlyWhenThereIsOne) {
    for (bool known : {false, true}) {
        SCOPED_TRACE(known);
        MapFixture m;
        if (known) m.app.location->setLastKnownLocation(MapFixture::place(48.7, 11.7));
        m.join(MapFixture::tour());
        m.show();
        EXPECT_EQ(m.reports(), known ? 1u : 0u);
    }
}

TEST_F(Sharing, AFirstReportMakesThePositionOfADeviceThatNeverReported) {
    auto group = join(groupJSON(1, json::array({member("5", "Ann", "D5")})));
    group->members->at(0)->device->position.reset();
    show();
    app.t.http().queueJSONForAction(200, {{"code", 0}});
    fix(48.2, 11.3);
    EXPECT_EQ(reports(), 1u);
    EXPECT_TRUE(app.t.logged("Position Updated"));
    auto me = Group::getJoinedGroup()->getMemberFromUser(*User::getCurrentUser());
    ASSERT_TRUE(me->device->position);
    EXPECT_EQ(me->device->position->deviceID, "D5");
    EXPECT_EQ(me->device->position->lati, 48.2);
}

TEST_F(Sharing, AFailedReportIsLoggedWithTheServicesInfo) {
    join(tour());
    show();
    app.t.http().queueJSONForAction(200, {{"code", 1}, {"info", "not joined"}});
    fix(48.2, 11.3);
    EXPECT_TRUE(app.t.logged("Position updating failed not joined"));
}

TEST_F(Sharing, TheDownloadMergesTheLastPositionOfEachJoinedMembersDevice) {
    auto group = join(tour());
    show();
    auto cid = group->members->at(2);
    app.t.http().queueJSONForAction(201, json::array({position("D6", 49.0, 12.0), position("D6", 49.5, 12.5),
                                                      position("D9", 1.0, 1.0)}));
    run(10s);
    EXPECT_EQ(group->members->at(1)->device->position->lati, 49.5);
    EXPECT_EQ(group->members->size(), 3u);
    EXPECT_EQ(group->members->at(2), cid);
    ASSERT_TRUE(mapDriver.pin("Bob"));
    EXPECT_EQ(mapDriver.pin("Bob")->coordinate().latitude, static_cast<float>(49.5));
}

TEST_F(Sharing, AMemberNotJoinedKeepsItsPositionThroughADownload) {
    // Cid has a device and a position but no "joined": the download leaves them alone.
    auto cidJSON = member("7", "Cid", "D7", std::pair{47.0, 10.0});
    cidJSON.erase("joined");
    auto group = join(groupJSON(1, json::array({member("5", "Ann", "D5"), cidJSON})));
    show();
    app.t.http().queueJSONForAction(201, json::array({position("D7", 1.0, 2.0)}));
    run(10s);
    EXPECT_EQ(group->members->at(1)->device->position->lati, 47.0);
}

TEST_F(Sharing, AFailedDownloadStillRebuildsThePins) {
    join(tour());
    show();
    auto before = mapDriver.pin("Bob");
    run(10s);  // nothing queued for 201: no reply
    EXPECT_TRUE(app.t.logged("positions downloaded"));
    auto after = mapDriver.pin("Bob");
    ASSERT_TRUE(after);
    EXPECT_NE(after, before);
    EXPECT_EQ(after->coordinate().latitude, static_cast<float>(48.5));
}

TEST_F(Sharing, LeavingClearsTheStateAndStopsSharing) {
    join(tour());
    show();
    EXPECT_EQ(driver.text("groupStatus"), "Tour");
    ASSERT_TRUE(driver.isVisible("unjoin"));
    app.t.http().queueJSONForAction(308, {{"code", 0}});
    driver.tap("unjoin");
    app.t.settle();
    EXPECT_FALSE(Group::getJoinedGroup());
    EXPECT_EQ(driver.text("groupStatus"), "NULL");
    EXPECT_FALSE(driver.isVisible("unjoin"));
    EXPECT_FALSE(screen->downloadTimer);
    EXPECT_FALSE(screen->uploadTimer);
    fix(48.9, 11.9);
    run(60s);
    EXPECT_EQ(reports(), 0u);
    EXPECT_EQ(downloads(), 0u);
}

TEST_F(Sharing, ARefusedLeaveChangesNothing) {
    join(tour());
    show();
    app.t.http().queueJSONForAction(308, {{"code", 1}, {"info", "no"}});
    driver.tap("unjoin");
    app.t.settle();
    EXPECT_TRUE(Group::getJoinedGroup());
    EXPECT_EQ(driver.text("groupStatus"), "Tour");
    EXPECT_TRUE(driver.isVisible("unjoin"));
    EXPECT_FALSE(driver.alert());
    run(10s);
    EXPECT_EQ(downloads(), 1u);
}

TEST_F(Sharing, ReloadMembersReplacesTheJoinedGroupsMembers) {
    auto group = join(tour());
    show();
    app.t.http().queueJSONForAction(309, json::array({member("5", "Ann", "D5"), member("8", "Dan", "D8")}));
    app.t.env().notifications->post("reloadMembers");
    app.t.settle();
    ASSERT_EQ(group->members->size(), 2u);
    EXPECT_EQ(group->members->at(1)->user->displayName, "Dan");
    // The pins follow at the next cycle.
    EXPECT_TRUE(mapDriver.pin("Bob"));
    app.t.http().queueJSONForAction(201, json::array());
    run(10s);
    EXPECT_FALSE(mapDriver.pin("Bob"));

    // A failed reload keeps the list and logs why.
    app.t.env().notifications->post("reloadMembers");
    app.t.settle();
    EXPECT_EQ(group->members->size(), 2u);
    EXPECT_TRUE(app.t.logged("Unknown Error"));
}

TEST_F(Sharing, ReloadMembersWithoutAJoinedGroupDoesNothing) {
    show();
    const auto before = app.t.http().count();
    app.t.env().notifications->post("reloadMembers");
    app.t.settle();
    EXPECT_EQ(app.t.http().count(), before);
}

TEST_F(Sharing, ALocationErrorIsOnlyLogged) {
    join(tour());
    show();
    app.location->fail("denied");
    app.t.settle();
    EXPECT_TRUE(app.t.logged("didFailWithError: denied"));
    EXPECT_EQ(reports(), 0u);
}

// The map follows the joined group while it is shown: a join made elsewhere starts sharing
// at once, with the location source set up for the new travel mode.
TEST_F(Sharing, AJoinMadeWhileTheMapIsShownStartsSharing) {
    show();
    EXPECT_FALSE(screen->locationManager->isUpdatingLocation());
    join(tour(2));
    EXPECT_EQ(driver.text("groupStatus"), "Tour");
    EXPECT_TRUE(screen->locationManager->isUpdatingLocation());
    EXPECT_EQ(screen->locationManager->desiredAccuracy(), platform::kCLLocationAccuracyBest);
    EXPECT_TRUE(mapDriver.pin("Bob"));
    run(20s);
    EXPECT_EQ(downloads(), 1u);
    fix(48.2, 11.3);
    EXPECT_EQ(reports(), 1u);

    // Cleared elsewhere: no more downloads and the location source stops.
    Group::setJoinedGroup(nullptr);
    app.t.settle();
    EXPECT_EQ(driver.text("groupStatus"), "NULL");
    EXPECT_FALSE(screen->downloadTimer);
    EXPECT_FALSE(screen->locationManager->isUpdatingLocation());
}

TEST_F(Sharing, AJoinMadeWhileTheMapIsHiddenTakesEffectWhenItAppears) {
    show();
    goElsewhere();
    join(tour(3));
    EXPECT_EQ(downloads(), 0u);
    EXPECT_EQ(screen->locationManager->isUpdatingLocation(), false);
    comeBack();
    EXPECT_EQ(driver.text("groupStatus"), "Tour");
    EXPECT_EQ(screen->locationManager->distanceFilter(), 10.0);
    run(30s);
    EXPECT_EQ(downloads(), 1u);
}

TEST_F(Sharing, SettlingTheJoinedGroupToWhatItWasIsNoChange) {
    auto group = join(tour());
    show();
    run(5s);
    // Groups reloaded: none, then the same group again, in one go.
    Group::setJoinedGroup(nullptr);
    Group::setJoinedGroup(group);
    app.t.settle();
    run(5s);
    EXPECT_EQ(downloads(), 1u);
}

TEST(SharingAfterSignIn, TheAppThatOpensOnTheMapSharesInTheJoinedGroupAtOnce) {
    AppFixture app;
    app.location->setLastKnownLocation(MapFixture::place(48.2, 11.3));
    app.storeSignIn("5", AppFixture::userJSON("5", "Ann"));
    app.t.http().queueJSONForAction(301, json::array({MapFixture::tour()}));
    app.launch();
    ASSERT_EQ(app.driver->frontmostClass(), "MapViewController");
    EXPECT_EQ(app.driver->text("groupStatus"), "Tour");
    EXPECT_EQ(app.sent(200), 1u);
    app.t.loop().runFor(10s);
    EXPECT_EQ(app.sent(201), 1u);
}

}  // namespace
}  // namespace kelpa::testing
