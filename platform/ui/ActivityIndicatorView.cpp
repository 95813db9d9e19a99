#include "platform/ui/ActivityIndicatorView.h"

namespace kelpa::platform::ui {

void ActivityIndicatorView::startAnimating() {
    if (animating_) return;
    animating_ = true;
    changed();
}

void ActivityIndicatorView::stopAnimating() {
    if (!animating_) return;
    animating_ = false;
    changed();
}

}  // namespace kelpa::platform::ui
