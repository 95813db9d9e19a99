#pragma once

#include "gui/adapters/WidgetAdapter.h"

namespace kelpa::gui {

class LabelAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(QString text READ text NOTIFY changed)

public:
    using WidgetAdapter::WidgetAdapter;
    QString text() const;
};

}  // namespace kelpa::gui
