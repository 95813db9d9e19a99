#pragma once

#include "gui/adapters/WidgetAdapter.h"

#include <QDateTime>

namespace kelpa::gui {

class DatePickerAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(QDateTime date READ date NOTIFY changed)
    // "dateAndTime", "date" or "time".
    Q_PROPERTY(QString mode READ mode NOTIFY changed)

public:
    using WidgetAdapter::WidgetAdapter;
    QDateTime date() const;
    QString mode() const;

    // A person's choice of a date.
    Q_INVOKABLE bool pickDate(const QDateTime& date);
};

}  // namespace kelpa::gui
