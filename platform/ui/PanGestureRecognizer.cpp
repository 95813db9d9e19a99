#include "platform/ui/PanGestureRecognizer.h"

namespace kelpa::platform::ui {

Point PanGestureRecognizer::translationInView(const View*) const { return translation_; }

void PanGestureRecognizer::setTranslation(Point translation, State state) {
    translation_ = translation;
    state_ = state;
}

}  // namespace kelpa::platform::ui
