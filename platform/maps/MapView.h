#pragma once

#include "platform/location/Location.h"
#include "platform/maps/Annotation.h"
#include "platform/maps/AnnotationView.h"
#include "platform/maps/CoordinateRegion.h"
#include "platform/maps/MapViewDelegate.h"
#include "platform/maps/Overlay.h"
#include "platform/maps/OverlayLevel.h"
#include "platform/maps/OverlayView.h"
#include "platform/maps/UserLocation.h"
#include "platform/ui/Control.h"
#include "platform/ui/View.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// The model of a map on screen: the region shown, the annotations with their marker views,
// one selected annotation at most, overlays by level, and the device's own marker. A
// renderer draws it and turns touches into the calls below; observers hear of every change.
// Main queue only.
class MapView : public ui::View {
public:
    explicit MapView(std::string name = {});
    const char* kind() const override { return "MapView"; }

    void setDelegate(std::weak_ptr<MapViewDelegate> delegate);

    // Starts as the whole world. A region with a value that is not a number is ignored (and
    // logged); others are brought into range.
    const CoordinateRegion& region() const { return region_; }
    void setRegion(const CoordinateRegion& region, bool animated);
    bool lastRegionAnimated() const { return lastRegionAnimated_; }

    // The delegate is asked for the view of each annotation as it is added; none gives a red
    // pin with a callout and no accessories, and the device's marker a marker of its own.
    // Adding an annotation that is already on the map does nothing.
    void addAnnotation(std::shared_ptr<Annotation> annotation);
    void addAnnotations(const std::vector<std::shared_ptr<Annotation>>& annotations);
    // A selected annotation is deselected (and the delegate told) before it goes. The
    // device's marker is not removed this way; showsUserLocation controls it.
    void removeAnnotation(const std::shared_ptr<Annotation>& annotation);
    void removeAnnotations(const std::vector<std::shared_ptr<Annotation>>& annotations);
    // In the order added; the device's marker among them while it shows.
    std::vector<std::shared_ptr<Annotation>> annotations() const;
    std::shared_ptr<AnnotationView> viewForAnnotation(const std::shared_ptr<Annotation>& annotation) const;

    // Selecting deselects the previous annotation (delegate told), marks the view selected and
    // tells the delegate; its callout opens when the view can show one.
    void selectAnnotation(const std::shared_ptr<Annotation>& annotation, bool animated);
    void deselectAnnotation(const std::shared_ptr<Annotation>& annotation, bool animated);
    std::vector<std::shared_ptr<Annotation>> selectedAnnotations() const;

    // A tap on an accessory of an open callout (from a renderer or a test): the control's own
    // actions run, then the delegate is told. Taps on anything else are ignored.
    void tapCalloutAccessory(AnnotationView& view, ui::Control& control);

    // The delegate is asked for the overlay's view as it is added; none leaves it undrawn.
    void addOverlay(std::shared_ptr<Overlay> overlay, OverlayLevel level = OverlayLevel::aboveLabels);
    void removeOverlay(const std::shared_ptr<Overlay>& overlay);
    void removeOverlays(const std::vector<std::shared_ptr<Overlay>>& overlays);
    // In drawing order: by level, then in the order added.
    std::vector<std::shared_ptr<Overlay>> overlays() const;
    std::vector<std::shared_ptr<Overlay>> overlaysInLevel(OverlayLevel level) const;
    std::shared_ptr<OverlayView> viewForOverlay(const std::shared_ptr<Overlay>& overlay) const;

    bool showsUserLocation() const { return showsUserLocation_; }
    void setShowsUserLocation(bool shows);
    // The device's marker: present while it shows and a fix is known.
    std::shared_ptr<UserLocation> userLocation() const;
    // Fed by whoever owns the location source; moves the device's marker.
    void setUserLocationFix(const Location& fix);

private:
    struct AnnotationEntry {
        std::shared_ptr<Annotation> annotation;
        std::shared_ptr<AnnotationView> view;
    };
    struct OverlayEntry {
        std::shared_ptr<Overlay> overlay;
        OverlayLevel level;
        std::shared_ptr<OverlayView> view;
    };

    const AnnotationEntry* entryFor(const Annotation* annotation) const;
    void insertAnnotation(std::shared_ptr<Annotation> annotation);
    void eraseAnnotation(const Annotation* annotation);
    void showUserLocation();
    void hideUserLocation();

    std::weak_ptr<MapViewDelegate> delegate_;
    CoordinateRegion region_;
    bool lastRegionAnimated_ = false;
    std::vector<AnnotationEntry> annotations_;
    std::shared_ptr<Annotation> selected_;
    std::vector<OverlayEntry> overlays_;
    bool showsUserLocation_ = false;
    std::shared_ptr<UserLocation> userLocation_;  // made with the first fix
};

}  // namespace kelpa::platform
