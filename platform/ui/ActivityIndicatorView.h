#pragma once

#include "platform/ui/View.h"

namespace kelpa::platform::ui {

// A spinner: shown means busy.
class ActivityIndicatorView : public View {
public:
    using View::View;
    const char* kind() const override { return "ActivityIndicator"; }

    bool isAnimating() const { return animating_; }
    void startAnimating();
    void stopAnimating();

private:
    bool animating_ = true;
};

}  // namespace kelpa::platform::ui
