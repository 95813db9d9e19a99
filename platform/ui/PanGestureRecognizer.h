#pragma once

#include "platform/ui/Geometry.h"

namespace kelpa::platform::ui {

class View;

// A finger dragging across a view: how far it has moved since it went down, in the
// coordinates of the view it is asked about. The renderer (or a test) feeds it.
class PanGestureRecognizer {
public:
    enum class State { began, changed, ended };

    State state() const { return state_; }
    // The view is the one whose coordinates the answer is in; ours are all unscaled, so the
    // translation is the same in every view.
    Point translationInView(const View* view) const;
    void setTranslation(Point translation, State state = State::changed);

private:
    Point translation_;
    State state_ = State::began;
};

}  // namespace kelpa::platform::ui
