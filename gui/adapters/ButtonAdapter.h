#pragma once

#include "gui/adapters/WidgetAdapter.h"

namespace kelpa::gui {

class ButtonAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(QString title READ title NOTIFY changed)
    // "system", "detailDisclosure" or "checkBox" (checked while its title is not empty).
    Q_PROPERTY(QString buttonType READ buttonType CONSTANT)

public:
    using WidgetAdapter::WidgetAdapter;
    QString title() const;
    QString buttonType() const;

    // A tap; false when the button is hidden or disabled.
    Q_INVOKABLE bool tap();
};

}  // namespace kelpa::gui
