#include "platform/maps/PinAnnotationView.h"

namespace kelpa::platform {

void PinAnnotationView::setPinColor(int color) {
    if (pinColor_ == color) return;
    pinColor_ = color;
    changed();
}

}  // namespace kelpa::platform
