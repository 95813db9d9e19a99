#pragma once

#include "platform/ui/View.h"

#include <functional>
#include <vector>

namespace kelpa::platform::ui {

// A view a person acts on. Actions get the control as their sender.
class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;
    enum class Event { primaryAction, valueChanged };

    using View::View;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    void addTarget(Event event, Action action);
    // Runs the actions registered for the event, as a touch would (nothing when disabled).
    void sendActionsForControlEvents(Event event);

private:
    bool enabled_ = true;
    std::vector<std::pair<Event, Action>> actions_;
};

}  // namespace kelpa::platform::ui
