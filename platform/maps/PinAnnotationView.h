#pragma once

#include "platform/maps/AnnotationView.h"

namespace kelpa::platform {

// The standard pin marker, in one of three colours.
class PinAnnotationView : public AnnotationView {
public:
    enum PinColor { red = 0, green = 1, purple = 2 };

    using AnnotationView::AnnotationView;
    const char* kind() const override { return "PinAnnotationView"; }

    int pinColor() const { return pinColor_; }
    // Values outside the three colours are kept; a renderer draws them red.
    void setPinColor(int color);

private:
    int pinColor_ = red;
};

}  // namespace kelpa::platform
