#include "platform/maps/PolylineView.h"

namespace kelpa::platform {

PolylineView::PolylineView(std::shared_ptr<Polyline> polyline) : OverlayView(std::move(polyline)) {}

std::shared_ptr<Polyline> PolylineView::polyline() const { return std::dynamic_pointer_cast<Polyline>(overlay()); }

void PolylineView::setLineWidth(double width) {
    if (lineWidth_ == width) return;
    lineWidth_ = width;
    changed();
}

void PolylineView::setStrokeColor(const ui::Color& color) {
    if (strokeColor_ == color) return;
    strokeColor_ = color;
    changed();
}

}  // namespace kelpa::platform
