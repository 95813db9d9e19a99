#include "platform/ui/Control.h"

namespace kelpa::platform::ui {

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
}

void Control::addTarget(Event event, Action action) { actions_.emplace_back(event, std::move(action)); }

void Control::sendActionsForControlEvents(Event event) {
    if (!enabled_ || isHidden()) return;
    auto keep = shared_from_this();
    auto actions = actions_;
    for (auto& [registered, action] : actions) {
        if (registered == event && action) action(*this);
    }
}

}  // namespace kelpa::platform::ui
