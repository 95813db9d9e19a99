#include "platform/ui/DatePicker.h"

#include "platform/Environment.h"
#include "platform/MainQueue.h"

namespace kelpa::platform::ui {

DatePicker::DatePicker(std::string name)
    : Control(std::move(name)),
      date_(std::chrono::time_point_cast<std::chrono::seconds>(Environment::current()->mainQueue->now())) {}

void DatePicker::setDate(Date date) {
    if (date_ == date) return;
    date_ = date;
    changed();
}

void DatePicker::pickDate(Date date) {
    if (!isEnabled() || isHidden()) return;
    setDate(date);
    sendActionsForControlEvents(Event::valueChanged);
}

void DatePicker::setDatePickerMode(Mode mode) {
    if (mode_ == mode) return;
    mode_ = mode;
    changed();
}

}  // namespace kelpa::platform::ui
