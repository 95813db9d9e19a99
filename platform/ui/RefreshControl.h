#pragma once

#include "platform/ui/Control.h"

namespace kelpa::platform::ui {

// Pull to refresh (on a desktop also a refresh button and F5). A pull begins refreshing and
// sends value-changed; the screen calls endRefreshing when its load is back.
class RefreshControl : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "RefreshControl"; }

    bool isRefreshing() const { return refreshing_; }
    void beginRefreshing();
    void endRefreshing();
    // A person's pull.
    void pull();

private:
    bool refreshing_ = false;
};

}  // namespace kelpa::platform::ui
