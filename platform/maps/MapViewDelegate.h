#pragma once

#include "platform/maps/Annotation.h"
#include "platform/maps/AnnotationView.h"
#include "platform/maps/Overlay.h"
#include "platform/maps/OverlayView.h"
#include "platform/ui/Control.h"

#include <memory>

namespace kelpa::platform {

class MapView;

// What a map view asks and tells its owner, on the main queue. Every method has a default.
class MapViewDelegate {
public:
    virtual ~MapViewDelegate();

    // The view to show for an annotation; none leaves the map's default marker.
    virtual std::shared_ptr<AnnotationView> viewForAnnotation(MapView&, const std::shared_ptr<Annotation>&) {
        return nullptr;
    }
    virtual void didSelectAnnotationView(MapView&, AnnotationView&) {}
    virtual void didDeselectAnnotationView(MapView&, AnnotationView&) {}
    virtual void calloutAccessoryControlTapped(MapView&, AnnotationView&, ui::Control&) {}
    // The view that draws an overlay; none leaves it undrawn.
    virtual std::shared_ptr<OverlayView> viewForOverlay(MapView&, const std::shared_ptr<Overlay>&) {
        return nullptr;
    }
    virtual void regionDidChangeAnimated(MapView&, bool) {}
};

}  // namespace kelpa::platform
