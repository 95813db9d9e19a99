#pragma once

#include "gui/adapters/WidgetAdapter.h"

#include <QStringList>

namespace kelpa::gui {

class SegmentedControlAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(QStringList segments READ segments NOTIFY changed)
    Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY changed)

public:
    using WidgetAdapter::WidgetAdapter;
    QStringList segments() const;
    int selectedIndex() const;

    Q_INVOKABLE bool tapSegment(int index);
};

}  // namespace kelpa::gui
