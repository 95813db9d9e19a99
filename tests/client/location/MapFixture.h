#pragma once

#include "AppFixture.h"

#include "client/app/TabPlaceholderViewController.h"
#include "client/location/MapViewController.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "platform/maps/MapDriver.h"
#include "platform/maps/RoutingService.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

#include <mutex>

namespace kelpa::testing {

// Answers every route with a two-point line and remembers how it was asked.
class RecordingRouting : public platform::RoutingService {
public:
    struct Asked {
        platform::LocationCoordinate2D from;
        platform::LocationCoordinate2D to;
        unsigned transportType;
        bool alternatives;
    };
    std::variant<std::vector<platform::Route>, std::string> route(platform::LocationCoordinate2D from,
                                                                   platform::LocationCoordinate2D to,
                                                                   unsigned transportType, bool alternatives) override {
        std::lock_guard lock(mutex_);
        asked_.push_back({from, to, transportType, alternatives});
        if (failWith) return *failWith;
        platform::Route route;
        route.polyline = platform::Polyline::polylineWithCoordinates({from, to});
        return std::vector<platform::Route>{route};
    }
    std::vector<Asked> asked() const {
        std::lock_guard lock(mutex_);
        return asked_;
    }
    std::optional<std::string> failWith;

private:
    mutable std::mutex mutex_;
    std::vector<Asked> asked_;
};

// An application that does nothing at launch, so the screens have one to ask.
struct QuietApplication : platform::ui::ApplicationDelegate {
    bool didFinishLaunchingWithOptions(platform::ui::Application&, const platform::ui::LaunchOptions&) override {
        return true;
    }
    std::shared_ptr<platform::ui::Window> window() override { return nullptr; }
};

// Ann (5) signed in on device "D5", the live map as the first of two tabs in a window; the
// second tab is somewhere to go so the map disappears.
struct MapFixture {
    MapFixture() {
        app.t.env().routing = routing;
        platform::ui::Application::launch(application);
        User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann")));
        tabs->setViewControllers({platform::ui::NavigationController::initWithRootViewController(screen),
                                  platform::ui::NavigationController::initWithRootViewController(
                                      std::make_shared<TabPlaceholderViewController>("Groups"))});
    }
    ~MapFixture() {
        window->setRootViewController(nullptr);
        app.t.settle();
    }

    // A member record: joined with a device when `device` is given, at `at` when given.
    static json member(const std::string& userID, const std::string& name, std::optional<std::string> device,
                       std::optional<std::pair<double, double>> at = std::nullopt) {
        json m{{"User", AppFixture::userJSON(userID, name)}, {"groupID", "17"}, {"isLeader", false}, {"Device", nullptr}};
        if (device) {
            json d{{"deviceID", *device}};
            if (at) d["Position"] = position(*device, at->first, at->second);
            m["Device"] = d;
            m["joined"] = "2026-12-10T09:00:00";
        }
        return m;
    }
    static json position(const std::string& device, double lati, double longi,
                         const std::string& synchronized = "2026-12-10T10:00:00") {
        return {{"deviceID", device}, {"lati", lati}, {"longi", longi}, {"synchronized", synchronized}};
    }
    static json waypoint(double number, double lati, double longi) {
        return {{"waypointID", "w" + std::to_string(static_cast<int>(number))},
                {"lati", lati},
                {"longi", longi},
                {"number", number},
                {"groupID", "17"}};
    }
    static json groupJSON(int type, json members, json waypoints = json::array()) {
        return {{"groupID", "17"},       {"description", "Tour"}, {"groupType", type},
                {"Members", members},    {"Waypoints", waypoints}};
    }
    // Ann joined with D5, Bob (6) joined on D6 at a position, Cid (7) a member not joined.
    static json tour(int type = 1) {
        return groupJSON(type, json::array({member("5", "Ann", "D5", std::pair{48.0, 11.0}),
                                            member("6", "Bob", "D6", std::pair{48.5, 11.5}),
                                            member("7", "Cid", std::nullopt)}),
                         json::array({waypoint(0, 48.1, 11.25), waypoint(1, 48.5, 11.25)}));
    }

    std::shared_ptr<Group> join(const json& group) {
        auto record = Group::initWithJSON(group);
        Group::setJoinedGroup(record);
        app.t.settle();
        return record;
    }
    void show() {
        window->setRootViewController(tabs);
        app.t.settle();
    }
    void goElsewhere() {
        driver.pickTab(1);
        app.t.settle();
    }
    void comeBack() {
        driver.pickTab(0);
        app.t.settle();
    }
    static platform::Location place(double latitude, double longitude) {
        platform::Location fix;
        fix.coordinate = {latitude, longitude};
        return fix;
    }
    void run(std::chrono::seconds span) { app.t.loop().runFor(span); }
    void fix(double lati, double longi) {
        app.location->deliver(MapFixture::place(lati, longi));
        app.t.settle();
    }

    size_t downloads() { return app.sent(201); }
    size_t reports() { return app.sent(200); }

    AppFixture app;
    std::shared_ptr<platform::ui::Application> application =
        std::make_shared<platform::ui::Application>(std::make_shared<QuietApplication>());
    std::shared_ptr<RecordingRouting> routing = std::make_shared<RecordingRouting>();
    std::shared_ptr<MapViewController> screen = std::make_shared<MapViewController>();
    std::shared_ptr<platform::ui::TabBarController> tabs = std::make_shared<platform::ui::TabBarController>();
    std::shared_ptr<platform::ui::Window> window = std::make_shared<platform::ui::Window>();
    platform::ui::Driver driver{window};
    platform::MapDriver mapDriver{driver, "map"};
};

}  // namespace kelpa::testing
