#pragma once

#include "platform/ui/Control.h"

#include <chrono>

namespace kelpa::platform::ui {

class DatePicker : public Control {
public:
    using Date = std::chrono::system_clock::time_point;
    enum class Mode { dateAndTime, date, time };

    explicit DatePicker(std::string name = {});
    const char* kind() const override { return "DatePicker"; }

    Date date() const { return date_; }
    // By code: no value-changed actions.
    void setDate(Date date);
    // A person's choice: sets the date and sends value-changed.
    void pickDate(Date date);
    Mode datePickerMode() const { return mode_; }
    void setDatePickerMode(Mode mode);

private:
    Date date_;  // now, on the main queue's clock
    Mode mode_ = Mode::dateAndTime;
};

}  // namespace kelpa::platform::ui
