#include "platform/ui/RefreshControl.h"

namespace kelpa::platform::ui {

void RefreshControl::beginRefreshing() {
    if (refreshing_) return;
    refreshing_ = true;
    changed();
}

void RefreshControl::endRefreshing() {
    if (!refreshing_) return;
    refreshing_ = false;
    changed();
}

void RefreshControl::pull() {
    if (refreshing_ || !isEnabled()) return;
    beginRefreshing();
    sendActionsForControlEvents(Event::valueChanged);
}

}  // namespace kelpa::platform::ui
