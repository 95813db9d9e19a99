#include "client/location/MapViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/location/KelpaAnnotation.h"
#include "client/model/Device.h"
#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"
#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/location/LocationAccuracy.h"
#include "platform/maps/Directions.h"
#include "platform/maps/MapItem.h"
#include "platform/maps/PinAnnotationView.h"
#include "platform/maps/PolylineView.h"
#include "platform/maps/UserLocation.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"

#include <fmt/format.h>

#include <chrono>

namespace kelpa {

namespace ui = platform::ui;
using platform::log;

namespace {
// How each travel mode shares: what the location source is asked for and how often the
// group's positions are fetched. Other modes do not share.
struct Sharing {
    double accuracy;
    double distanceFilter;
    std::chrono::seconds downloadInterval;
};

std::optional<Sharing> sharingFor(std::int32_t travelMode) {
    switch (travelMode) {
        case 1: return Sharing{platform::kCLLocationAccuracyBestForNavigation, 5.0, std::chrono::seconds(10)};
        case 2: return Sharing{platform::kCLLocationAccuracyBest, 5.0, std::chrono::seconds(20)};
        case 3: return Sharing{platform::kCLLocationAccuracyNearestTenMeters, 10.0, std::chrono::seconds(30)};
        default: return std::nullopt;
    }
}

std::int32_t travelModeOf(const std::shared_ptr<Group>& group) { return group ? group->GroupType : 0; }

// Pins sit where the single-precision coordinates put them. Kept out of line: g++ 12's SLP
// vectorizer drops the rounding when two such conversions feed one coordinate.
[[gnu::noinline]] double narrowed(double value) { return static_cast<float>(value); }

const platform::CoordinateRegion kInitialRegion{{51.299711, 10.107422}, {8.5, 8.5}};
const ui::Color kRouteColor{55.0 / 255, 168.0 / 255, 219.0 / 255, 1.0};
constexpr double kRouteWidth = 10.0;
constexpr double kCalloutPictureSide = 30;
}  // namespace

void MapViewController::loadView() {
    MasterViewController::loadView();
    map = std::make_shared<platform::MapView>("map");
    map->setAccessibilityLabel("Map");
    // The device's own marker is the map's; this screen leaves its look to the map.
    map->setShowsUserLocation(true);
    view()->addSubview(map);
    groupStatus = std::make_shared<ui::Label>("groupStatus");
    view()->addSubview(groupStatus);
    unjoinButton = std::make_shared<ui::Button>("unjoin");
    unjoinButton->setTitle("Leave group");
    unjoinButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control& sender) { unjoin(&sender); });
    view()->addSubview(unjoinButton);
}

void MapViewController::viewDidLoad() {
    MasterViewController::viewDidLoad();
    if (auto* navigation = navigationController()) navigation->setNavigationBarHidden(true, false);
    setupRegion();
    memberAnnotations.clear();
    waypointAnnotations.clear();
    auto& notifications = *platform::Environment::current()->notifications;
    // Never removed: the observers live as long as the screen does.
    notifications.addObserver("reloadMembers", [weak = weakAs<MapViewController>()](const platform::Notification& n) {
        if (auto self = weak.lock()) self->reloadMembers(n);
    });
    notifications.addObserver(Group::kJoinedGroupChangedNotification,
                              [weak = weakAs<MapViewController>()](const platform::Notification&) {
                                  if (auto self = weak.lock()) self->joinedGroupChanged();
                              });
}

void MapViewController::viewWillAppear(bool animated) {
    MasterViewController::viewWillAppear(animated);
    if (auto* navigation = navigationController()) navigation->setNavigationBarHidden(true, animated);
    followJoinedGroup();
}

void MapViewController::viewWillDisappear(bool animated) {
    disableLocationDownloader();
    if (auto* navigation = navigationController()) navigation->setNavigationBarHidden(false, animated);
    MasterViewController::viewWillDisappear(animated);
}

void MapViewController::followJoinedGroup() {
    auto joined = Group::getJoinedGroup();
    followedGroup_ = joined;
    setupState();
    if (!locationManager) {
        setupLocationManager();
    } else {
        configureLocationSource(travelModeOf(joined));
    }
    if (!joined) return;
    startDownloadingPositions();
    addWaypointAnnotations();
    addMemberAnnotations();
    if (auto fix = locationManager->location()) uploadLocation(*fix);
}

void MapViewController::joinedGroupChanged() {
    if (!isViewLoaded() || !isAppeared()) return;
    auto joined = Group::getJoinedGroup();
    if (joined == followedGroup_) return;
    // The timer belongs to the group it was started for.
    disableLocationDownloader();
    followJoinedGroup();
}

void MapViewController::setupLocationManager() {
    map->setDelegate(weakAs<platform::MapViewDelegate>());
    locationManager = platform::LocationManager::create();
    if (ScreenSupport::systemVersion() >= 8.0) {
        locationManager->requestWhenInUseAuthorization();
        locationManager->requestAlwaysAuthorization();
    }
    locationManager->setDelegate(weakAs<platform::LocationManagerDelegate>());
    configureLocationSource(travelModeOf(Group::getJoinedGroup()));
}

void MapViewController::configureLocationSource(std::int32_t travelMode) {
    if (configuredTravelMode_ == travelMode) return;
    configuredTravelMode_ = travelMode;
    auto sharing = sharingFor(travelMode);
    if (!sharing) {
        locationManager->stopUpdatingLocation();
        return;
    }
    locationManager->setDesiredAccuracy(sharing->accuracy);
    locationManager->setDistanceFilter(sharing->distanceFilter);
    turnOnLocationManager();
}

void MapViewController::turnOnLocationManager() { locationManager->startUpdatingLocation(); }

void MapViewController::setupState() {
    auto joined = Group::getJoinedGroup();
    groupStatus->setText(joined ? joined->jDescription.value_or("") : "NULL");
    unjoinButton->setHidden(!joined);
}

void MapViewController::startDownloadingPositions() {
    if (downloadTimer) return;
    auto sharing = sharingFor(travelModeOf(Group::getJoinedGroup()));
    if (!sharing) return;
    downloadTimer = platform::Timer::scheduledTimer(
        sharing->downloadInterval, true, [weak = weakAs<MapViewController>()](platform::Timer&) {
            if (auto self = weak.lock()) self->downloadPositions();
        });
}

void MapViewController::downloadPositions() {
    log("download positions");
    auto group = Group::getJoinedGroup();
    auto merged = [weak = weakAs<MapViewController>(), group](std::optional<RecordList<Position>> positions, Info error) {
        if (!error && positions && group && group->members) {
            for (const auto& member : *group->members) {
                if (!member || !member->joined || !member->device) continue;
                for (const auto& position : *positions) {
                    if (position && position->deviceID == member->device->deviceID) member->device->position = position;
                }
            }
        }
        log("positions downloaded");
        if (auto self = weak.lock()) self->addMemberAnnotations();
    };
    if (!group) return merged(std::nullopt, std::nullopt);
    group->loadPositionsWithCompletitionHandler(merged);
}

void MapViewController::disableLocationDownloader() {
    if (!downloadTimer) return;
    downloadTimer->invalidate();
    downloadTimer.reset();
}

void MapViewController::disableLocationUploader() {
    if (uploadTimer) uploadTimer->invalidate();
    uploadTimer.reset();
}

void MapViewController::unjoin(ui::View*) {
    auto joined = Group::getJoinedGroup();
    if (!joined) return;
    joined->unjoinWithCompletitionHandler([weak = weakAs<MapViewController>()](std::int32_t code, Info) {
        auto self = weak.lock();
        if (!self || code != 0) return;
        Group::setJoinedGroup(nullptr);
        self->setupState();
        self->disableLocationDownloader();
        self->disableLocationUploader();
    });
}

void MapViewController::reloadMembers(const platform::Notification&) {
    auto joined = Group::getJoinedGroup();
    if (!joined) return;
    joined->loadMembersWithCompletitionHandler(
        [joined](std::optional<RecordList<Member>> members, Info error) {
            if (error || !members) {
                log(error.value_or("(null)"));
                return;
            }
            joined->members = *members;
        },
        true);
}

void MapViewController::didUpdateToLocation(platform::LocationManager&, const platform::Location& newLocation,
                                            const std::optional<platform::Location>&) {
    uploadLocation(newLocation);
}

void MapViewController::uploadLocation(const platform::Location& location) {
    if (map) map->setUserLocationFix(location);
    auto joined = Group::getJoinedGroup();
    auto me = User::getCurrentUser();
    if (!joined || !me) return;
    auto member = joined->getMemberFromUser(*me);
    if (!member || !member->device) return;
    auto& device = *member->device;
    // A device that has not reported in this group yet has no position record; its first
    // report makes one.
    if (!device.position) {
        device.position = std::make_shared<Position>();
        device.position->deviceID = device.deviceID;
    }
    device.position->updatePositionToLatitude(location.coordinate.latitude, location.coordinate.longitude,
                                              [](std::int32_t code, Info info) {
                                                  if (code == 1) {
                                                      log(fmt::format("Position updating failed {}", info.value_or("(null)")));
                                                  } else if (code == 0) {
                                                      log("Position Updated");
                                                  }
                                              });
}

void MapViewController::didFailWithError(platform::LocationManager&, const std::string& error) {
    log(fmt::format("didFailWithError: {}", error));
}

void MapViewController::setupRegion() { map->setRegion(kInitialRegion, true); }

void MapViewController::addMemberAnnotations() {
    for (const auto& pin : memberAnnotations) map->removeAnnotation(pin);
    memberAnnotations.clear();
    auto joined = Group::getJoinedGroup();
    if (!joined || !joined->members) return;
    auto me = User::getCurrentUser();
    for (const auto& member : *joined->members) {
        if (!member) continue;
        if (me && member->user && member->user->userID == me->userID) continue;
        if (!member->joined) continue;
        auto position = member->device ? member->device->position : nullptr;
        if (!position || !position->lati || !position->longi) continue;
        auto pin = KelpaAnnotation::initWithObject(member);
        pin->setCoordinate({narrowed(*position->lati), narrowed(*position->longi)});
        pin->setTitle(member->user ? member->user->displayName : std::nullopt);
        pin->setSubtitle(fmt::format(
            "synced: {}",
            position->synchronized ? Functions::getStringFromDate(*position->synchronized) : std::string("(null)")));
        memberAnnotations.push_back(pin);
        map->addAnnotation(pin);
    }
}

void MapViewController::addWaypointAnnotations() {
    for (const auto& pin : waypointAnnotations) map->removeAnnotation(pin);
    waypointAnnotations.clear();
    auto joined = Group::getJoinedGroup();
    if (!joined || !joined->waypoints) return;
    for (const auto& waypoint : *joined->waypoints) {
        if (!waypoint) continue;
        auto pin = KelpaAnnotation::initWithObject(waypoint);
        pin->setCoordinate({narrowed(waypoint->lati.value_or(0)), narrowed(waypoint->longi.value_or(0))});
        pin->setTitle(fmt::format("{}", static_cast<int>(waypoint->number.value_or(0))));
        pin->setSubtitle("");
        waypointAnnotations.push_back(pin);
        map->addAnnotation(pin);
    }
}

std::shared_ptr<platform::AnnotationView> MapViewController::viewForAnnotation(
    platform::MapView&, const std::shared_ptr<platform::Annotation>& annotation) {
    auto pin = std::dynamic_pointer_cast<KelpaAnnotation>(annotation);
    if (!pin) return nullptr;
    if (pin->waypoint()) {
        auto view = std::make_shared<platform::PinAnnotationView>(annotation, std::nullopt);
        view->setPinColor(platform::PinAnnotationView::red);
        view->setCanShowCallout(true);
        view->setRightCalloutAccessoryView(ui::Button::buttonWithType(ui::Button::Type::detailDisclosure));
        return view;
    }
    auto member = pin->member();
    if (!member) return nullptr;
    auto view = std::make_shared<platform::PinAnnotationView>(annotation, std::nullopt);
    view->setPinColor(platform::PinAnnotationView::green);
    view->setCanShowCallout(true);
    if (member->user) {
        member->user->getProfileImageFromAPIWithCompletitionHandler([view](ImagePtr image) {
            auto picture = std::make_shared<ui::ImageView>(std::move(image));
            picture->setFrame({0, 0, kCalloutPictureSide, kCalloutPictureSide});
            view->setLeftCalloutAccessoryView(picture);
        });
    }
    return view;
}

void MapViewController::didSelectAnnotationView(platform::MapView& mapView, platform::AnnotationView& view) {
    if (std::dynamic_pointer_cast<platform::UserLocation>(view.annotation())) return;
    mapView.removeOverlays(mapView.overlays());
    auto pin = std::dynamic_pointer_cast<KelpaAnnotation>(view.annotation());
    if (!pin || !pin->waypoint()) return;
    platform::DirectionsRequest request;
    request.setSource(platform::MapItem::mapItemForCurrentLocation());
    request.setDestination(platform::MapItem::initWithPlacemark(platform::Placemark{pin->coordinate(), {}, {}}));
    request.setRequestsAlternateRoutes(false);
    switch (travelModeOf(Group::getJoinedGroup())) {
        case 1: request.setTransportType(platform::automobile); break;
        case 2: request.setTransportType(platform::any); break;
        case 3: request.setTransportType(platform::walking); break;
        default: break;
    }
    platform::Directions directions(request);
    directions.calculateDirectionsWithCompletionHandler(
        [weak = weakAs<MapViewController>()](std::optional<platform::DirectionsResponse> response, Info error) {
            if (error || !response) {
                log(fmt::format("Error {}", error.value_or("(null)")));
                return;
            }
            if (auto self = weak.lock()) self->showRoute(*response);
        });
}

void MapViewController::didDeselectAnnotationView(platform::MapView& mapView, platform::AnnotationView&) {
    mapView.removeOverlays(mapView.overlays());
}

void MapViewController::showRoute(const platform::DirectionsResponse& response) {
    for (const auto& route : response.routes) {
        if (route.polyline) map->addOverlay(route.polyline, platform::OverlayLevel::aboveRoads);
    }
}

std::shared_ptr<platform::OverlayView> MapViewController::viewForOverlay(
    platform::MapView&, const std::shared_ptr<platform::Overlay>& overlay) {
    auto polyline = std::dynamic_pointer_cast<platform::Polyline>(overlay);
    if (!polyline) return nullptr;
    auto line = std::make_shared<platform::PolylineView>(polyline);
    line->setLineWidth(kRouteWidth);
    line->setStrokeColor(kRouteColor);
    return line;
}

void MapViewController::calloutAccessoryControlTapped(platform::MapView&, platform::AnnotationView& view,
                                                      ui::Control&) {
    auto pin = std::dynamic_pointer_cast<KelpaAnnotation>(view.annotation());
    if (!pin || !pin->waypoint()) return;
    if (auto application = ui::Application::sharedApplication()) application->openURL(directionsURL(pin->coordinate()));
}

std::string MapViewController::directionsURL(const platform::LocationCoordinate2D& coordinate) {
    return fmt::format("{}?daddr={:f},{:f}", platform::Environment::current()->mapsDirectionsURL, coordinate.latitude,
                       coordinate.longitude);
}

}  // namespace kelpa
