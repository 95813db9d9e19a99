#pragma once

#include "client/bluetooth/MasterViewController.h"
#include "platform/NotificationCenter.h"
#include "platform/Timer.h"
#include "platform/location/LocationManager.h"
#include "platform/location/LocationManagerDelegate.h"
#include "platform/maps/DirectionsResponse.h"
#include "platform/maps/MapView.h"
#include "platform/maps/MapViewDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <memory>
#include <optional>
#include <vector>

namespace kelpa {

class KelpaAnnotation;

// The live map of the joined group. While a group is joined it reports this device's
// position on every location event and fetches the group's positions on a timer, and it
// draws the other joined members and the group's waypoints as pins; a waypoint pin, once
// selected, shows the route to it.
class MapViewController : public MasterViewController,
                          public platform::LocationManagerDelegate,
                          public platform::MapViewDelegate {
public:
    const char* className() const override { return "MapViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Sharing.
    void setupLocationManager();
    void turnOnLocationManager();
    void setupState();
    void startDownloadingPositions();
    void downloadPositions();
    void disableLocationDownloader();
    void disableLocationUploader();
    void unjoin(platform::ui::View* sender);
    void reloadMembers(const platform::Notification& notification);

    void didUpdateToLocation(platform::LocationManager& manager, const platform::Location& newLocation,
                             const std::optional<platform::Location>& fromLocation) override;
    void didFailWithError(platform::LocationManager& manager, const std::string& error) override;

    // Drawing.
    void setupRegion();
    void addMemberAnnotations();
    void addWaypointAnnotations();
    void showRoute(const platform::DirectionsResponse& response);

    std::shared_ptr<platform::AnnotationView> viewForAnnotation(
        platform::MapView& mapView, const std::shared_ptr<platform::Annotation>& annotation) override;
    void didSelectAnnotationView(platform::MapView& mapView, platform::AnnotationView& view) override;
    void didDeselectAnnotationView(platform::MapView& mapView, platform::AnnotationView& view) override;
    std::shared_ptr<platform::OverlayView> viewForOverlay(platform::MapView& mapView,
                                                          const std::shared_ptr<platform::Overlay>& overlay) override;
    void calloutAccessoryControlTapped(platform::MapView& mapView, platform::AnnotationView& view,
                                       platform::ui::Control& control) override;

    // What the directions link for a waypoint pin at this place reads.
    static std::string directionsURL(const platform::LocationCoordinate2D& coordinate);

    std::shared_ptr<platform::LocationManager> locationManager;
    std::shared_ptr<platform::Timer> uploadTimer;
    std::shared_ptr<platform::Timer> downloadTimer;
    std::shared_ptr<platform::ui::Label> groupStatus;
    std::shared_ptr<platform::ui::Button> unjoinButton;
    std::shared_ptr<platform::MapView> map;
    std::vector<std::shared_ptr<KelpaAnnotation>> memberAnnotations;
    std::vector<std::shared_ptr<KelpaAnnotation>> waypointAnnotations;

private:
    // What appearing does after the base and the navigation bar: state, location source,
    // timer, pins, and the upload of the last fix. Also run when the joined group changes
    // while the map is on screen.
    void followJoinedGroup();
    void joinedGroupChanged();
    // Sets the location source up for the joined group's travel mode, when it changed.
    void configureLocationSource(std::int32_t travelMode);
    void uploadLocation(const platform::Location& location);

    std::optional<std::int32_t> configuredTravelMode_;
    std::shared_ptr<class Group> followedGroup_;
};

}  // namespace kelpa
