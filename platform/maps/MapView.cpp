#include "platform/maps/MapView.h"

#include "platform/Log.h"
#include "platform/maps/PinAnnotationView.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace kelpa::platform {

namespace {
constexpr const char* kUserLocationReuseIdentifier = "UserLocation";

double wrappedLongitude(double longitude) {
    if (longitude >= -180.0 && longitude <= 180.0) return longitude;
    double wrapped = std::fmod(longitude + 180.0, 360.0);
    if (wrapped < 0) wrapped += 360.0;
    return wrapped - 180.0;
}
}  // namespace

MapView::MapView(std::string name)
    : ui::View(std::move(name)), region_{LocationCoordinate2D{0, 0}, CoordinateSpan{180, 360}} {}

void MapView::setDelegate(std::weak_ptr<MapViewDelegate> delegate) { delegate_ = std::move(delegate); }

void MapView::setRegion(const CoordinateRegion& region, bool animated) {
    const double values[] = {region.center.latitude, region.center.longitude, region.span.latitudeDelta,
                             region.span.longitudeDelta};
    if (!std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); })) {
        log(fmt::format("map: ignoring the region {},{} span {},{}", region.center.latitude,
                        region.center.longitude, region.span.latitudeDelta, region.span.longitudeDelta));
        return;
    }
    CoordinateRegion fitted;
    fitted.center.latitude = std::clamp(region.center.latitude, -90.0, 90.0);
    fitted.center.longitude = wrappedLongitude(region.center.longitude);
    fitted.span.latitudeDelta = std::clamp(region.span.latitudeDelta, 0.0, 180.0);
    fitted.span.longitudeDelta = std::clamp(region.span.longitudeDelta, 0.0, 360.0);
    region_ = fitted;
    lastRegionAnimated_ = animated;
    changed();
    if (auto delegate = delegate_.lock()) delegate->regionDidChangeAnimated(*this, animated);
}

const MapView::AnnotationEntry* MapView::entryFor(const Annotation* annotation) const {
    for (const auto& entry : annotations_) {
        if (entry.annotation.get() == annotation) return &entry;
    }
    return nullptr;
}

void MapView::addAnnotation(std::shared_ptr<Annotation> annotation) {
    if (!annotation || annotation == userLocation_) return;
    insertAnnotation(std::move(annotation));
}

void MapView::addAnnotations(const std::vector<std::shared_ptr<Annotation>>& annotations) {
    for (const auto& annotation : annotations) addAnnotation(annotation);
}

void MapView::insertAnnotation(std::shared_ptr<Annotation> annotation) {
    if (entryFor(annotation.get())) return;
    std::shared_ptr<AnnotationView> view;
    if (auto delegate = delegate_.lock()) view = delegate->viewForAnnotation(*this, annotation);
    // The delegate may have added this very annotation while it was asked.
    if (entryFor(annotation.get())) return;
    if (!view) {
        if (std::dynamic_pointer_cast<UserLocation>(annotation)) {
            view = std::make_shared<AnnotationView>(annotation, kUserLocationReuseIdentifier);
        } else {
            view = std::make_shared<PinAnnotationView>(annotation, std::nullopt);
        }
        view->setCanShowCallout(true);
    }
    annotations_.push_back(AnnotationEntry{std::move(annotation), std::move(view)});
    changed();
}

void MapView::removeAnnotation(const std::shared_ptr<Annotation>& annotation) {
    if (!annotation || annotation == userLocation_) return;
    eraseAnnotation(annotation.get());
}

void MapView::removeAnnotations(const std::vector<std::shared_ptr<Annotation>>& annotations) {
    // A copy: callers pass annotations() itself.
    auto doomed = annotations;
    for (const auto& annotation : doomed) removeAnnotation(annotation);
}

void MapView::eraseAnnotation(const Annotation* annotation) {
    if (!entryFor(annotation)) return;
    if (selected_.get() == annotation) deselectAnnotation(selected_, false);
    auto it = std::find_if(annotations_.begin(), annotations_.end(),
                           [annotation](const auto& entry) { return entry.annotation.get() == annotation; });
    if (it == annotations_.end()) return;  // the delegate removed it while told of the deselection
    annotations_.erase(it);
    changed();
}

std::vector<std::shared_ptr<Annotation>> MapView::annotations() const {
    std::vector<std::shared_ptr<Annotation>> list;
    list.reserve(annotations_.size());
    for (const auto& entry : annotations_) list.push_back(entry.annotation);
    return list;
}

std::shared_ptr<AnnotationView> MapView::viewForAnnotation(const std::shared_ptr<Annotation>& annotation) const {
    const auto* entry = entryFor(annotation.get());
    return entry ? entry->view : nullptr;
}

void MapView::selectAnnotation(const std::shared_ptr<Annotation>& annotation, bool animated) {
    if (!annotation || selected_ == annotation) return;
    auto view = viewForAnnotation(annotation);
    if (!view) return;  // not on this map
    if (selected_) {
        deselectAnnotation(selected_, animated);
        // Told of the deselection, the delegate may have changed the map.
        if (selected_ || !entryFor(annotation.get())) return;
    }
    selected_ = annotation;
    view->setSelected(true, animated);
    changed();
    if (auto delegate = delegate_.lock()) delegate->didSelectAnnotationView(*this, *view);
}

void MapView::deselectAnnotation(const std::shared_ptr<Annotation>& annotation, bool animated) {
    if (!annotation || selected_ != annotation) return;
    auto view = viewForAnnotation(annotation);
    selected_.reset();
    if (!view) return;
    view->setSelected(false, animated);
    changed();
    if (auto delegate = delegate_.lock()) delegate->didDeselectAnnotationView(*this, *view);
}

std::vector<std::shared_ptr<Annotation>> MapView::selectedAnnotations() const {
    if (!selected_) return {};
    return {selected_};
}

void MapView::tapCalloutAccessory(AnnotationView& view, ui::Control& control) {
    auto it = std::find_if(annotations_.begin(), annotations_.end(),
                           [&view](const auto& entry) { return entry.view.get() == &view; });
    if (it == annotations_.end() || !view.isShowingCallout()) return;
    const ui::View* tapped = &control;
    if (tapped != view.leftCalloutAccessoryView().get() && tapped != view.rightCalloutAccessoryView().get()) return;
    if (!control.isEnabled()) return;
    auto keepView = it->view;
    control.sendActionsForControlEvents(ui::Control::Event::primaryAction);
    if (auto delegate = delegate_.lock()) delegate->calloutAccessoryControlTapped(*this, view, control);
}

void MapView::addOverlay(std::shared_ptr<Overlay> overlay, OverlayLevel level) {
    if (!overlay) return;
    auto present = [this](const Overlay* o) {
        return std::any_of(overlays_.begin(), overlays_.end(), [o](const auto& e) { return e.overlay.get() == o; });
    };
    if (present(overlay.get())) return;
    std::shared_ptr<OverlayView> view;
    if (auto delegate = delegate_.lock()) view = delegate->viewForOverlay(*this, overlay);
    if (present(overlay.get())) return;
    overlays_.push_back(OverlayEntry{std::move(overlay), level, std::move(view)});
    changed();
}

void MapView::removeOverlay(const std::shared_ptr<Overlay>& overlay) {
    auto it = std::find_if(overlays_.begin(), overlays_.end(),
                           [&overlay](const auto& entry) { return entry.overlay == overlay; });
    if (it == overlays_.end()) return;
    overlays_.erase(it);
    changed();
}

void MapView::removeOverlays(const std::vector<std::shared_ptr<Overlay>>& overlays) {
    auto doomed = overlays;
    for (const auto& overlay : doomed) removeOverlay(overlay);
}

std::vector<std::shared_ptr<Overlay>> MapView::overlays() const {
    auto list = overlaysInLevel(OverlayLevel::aboveRoads);
    auto above = overlaysInLevel(OverlayLevel::aboveLabels);
    list.insert(list.end(), above.begin(), above.end());
    return list;
}

std::vector<std::shared_ptr<Overlay>> MapView::overlaysInLevel(OverlayLevel level) const {
    std::vector<std::shared_ptr<Overlay>> list;
    for (const auto& entry : overlays_) {
        if (entry.level == level) list.push_back(entry.overlay);
    }
    return list;
}

std::shared_ptr<OverlayView> MapView::viewForOverlay(const std::shared_ptr<Overlay>& overlay) const {
    for (const auto& entry : overlays_) {
        if (entry.overlay == overlay) return entry.view;
    }
    return nullptr;
}

void MapView::setShowsUserLocation(bool shows) {
    if (showsUserLocation_ == shows) return;
    showsUserLocation_ = shows;
    if (shows) showUserLocation();
    else hideUserLocation();
    changed();
}

std::shared_ptr<UserLocation> MapView::userLocation() const {
    if (!userLocation_ || !entryFor(userLocation_.get())) return nullptr;
    return userLocation_;
}

void MapView::setUserLocationFix(const Location& fix) {
    if (!userLocation_) userLocation_ = std::make_shared<UserLocation>();
    userLocation_->setLocation(fix);
    if (showsUserLocation_ && !entryFor(userLocation_.get())) showUserLocation();
    changed();
}

void MapView::showUserLocation() {
    if (userLocation_ && userLocation_->location()) insertAnnotation(userLocation_);
}

void MapView::hideUserLocation() {
    if (userLocation_) eraseAnnotation(userLocation_.get());
}

}  // namespace kelpa::platform
