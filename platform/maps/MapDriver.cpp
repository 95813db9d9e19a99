#include "platform/maps/MapDriver.h"

#include "platform/maps/UserLocation.h"

namespace kelpa::platform {

MapDriver::MapDriver(const ui::Driver& driver, std::string mapName) : driver_(driver), mapName_(std::move(mapName)) {}

std::shared_ptr<MapView> MapDriver::map() const { return driver_.find<MapView>(mapName_); }

std::vector<std::string> MapDriver::pins() const {
    std::vector<std::string> shown;
    auto view = map();
    if (!view) return shown;
    for (const auto& annotation : view->annotations()) {
        if (std::dynamic_pointer_cast<UserLocation>(annotation)) continue;
        auto line = annotation->title().value_or("");
        if (auto subtitle = annotation->subtitle(); subtitle && !subtitle->empty()) line += " | " + *subtitle;
        shown.push_back(line);
    }
    return shown;
}

std::shared_ptr<Annotation> MapDriver::pin(const std::string& title) const {
    auto view = map();
    if (!view) return nullptr;
    for (const auto& annotation : view->annotations()) {
        if (std::dynamic_pointer_cast<UserLocation>(annotation)) continue;
        if (annotation->title() == title) return annotation;
    }
    return nullptr;
}

bool MapDriver::selectPin(const std::string& title) {
    auto view = map();
    auto annotation = pin(title);
    if (!view || !annotation) return false;
    view->selectAnnotation(annotation, true);
    return true;
}

bool MapDriver::deselectPin() {
    auto view = map();
    if (!view) return false;
    for (const auto& selected : view->selectedAnnotations()) view->deselectAnnotation(selected, true);
    return true;
}

bool MapDriver::tapCalloutDetail(const std::string& title) {
    auto view = map();
    auto annotation = pin(title);
    if (!view || !annotation) return false;
    auto marker = view->viewForAnnotation(annotation);
    if (!marker || !marker->isShowingCallout()) return false;
    auto control = std::dynamic_pointer_cast<ui::Control>(marker->rightCalloutAccessoryView());
    if (!control) return false;
    view->tapCalloutAccessory(*marker, *control);
    return true;
}

size_t MapDriver::routeCount() const {
    auto view = map();
    return view ? view->overlays().size() : 0;
}

}  // namespace kelpa::platform
