#pragma once

#include "platform/maps/OverlayView.h"
#include "platform/maps/Polyline.h"
#include "platform/ui/Geometry.h"

#include <memory>

namespace kelpa::platform {

// A polyline drawn as a stroke of a width (points) and a colour; its opacity is the view's
// alpha.
class PolylineView : public OverlayView {
public:
    explicit PolylineView(std::shared_ptr<Polyline> polyline);
    const char* kind() const override { return "PolylineView"; }

    std::shared_ptr<Polyline> polyline() const;

    double lineWidth() const { return lineWidth_; }
    void setLineWidth(double width);
    const ui::Color& strokeColor() const { return strokeColor_; }
    void setStrokeColor(const ui::Color& color);

private:
    double lineWidth_ = 1;
    ui::Color strokeColor_;
};

}  // namespace kelpa::platform
