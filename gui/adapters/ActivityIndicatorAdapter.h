#pragma once

#include "gui/adapters/WidgetAdapter.h"

namespace kelpa::gui {

class ActivityIndicatorAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(bool animating READ isAnimating NOTIFY changed)

public:
    using WidgetAdapter::WidgetAdapter;
    bool isAnimating() const;
};

}  // namespace kelpa::gui
