#pragma once

#include "gui/adapters/WidgetAdapter.h"

#include <QVariantList>

namespace kelpa::gui {

class PickerViewAdapter : public WidgetAdapter {
    Q_OBJECT
    // One entry per component: {"titles": [...], "selected": row}.
    Q_PROPERTY(QVariantList columns READ columns NOTIFY changed)

public:
    using WidgetAdapter::WidgetAdapter;
    QVariantList columns() const;

    // A person's choice of a row.
    Q_INVOKABLE bool pick(int row, int component = 0);
};

}  // namespace kelpa::gui
