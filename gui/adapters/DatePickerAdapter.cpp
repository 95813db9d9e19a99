#include "gui/adapters/DatePickerAdapter.h"

#include "platform/ui/DatePicker.h"

namespace kelpa::gui {

using platform::ui::DatePicker;

QDateTime DatePickerAdapter::date() const {
    auto picker = as<DatePicker>();
    if (!picker) return {};
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(picker->date().time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(ms.count());
}

QString DatePickerAdapter::mode() const {
    auto picker = as<DatePicker>();
    if (!picker) return QStringLiteral("dateAndTime");
    switch (picker->datePickerMode()) {
        case DatePicker::Mode::date: return QStringLiteral("date");
        case DatePicker::Mode::time: return QStringLiteral("time");
        case DatePicker::Mode::dateAndTime: break;
    }
    return QStringLiteral("dateAndTime");
}

bool DatePickerAdapter::pickDate(const QDateTime& date) {
    auto picker = as<DatePicker>();
    if (!picker || !usable() || !date.isValid()) return false;
    picker->pickDate(DatePicker::Date(std::chrono::milliseconds(date.toMSecsSinceEpoch())));
    return true;
}

}  // namespace kelpa::gui
