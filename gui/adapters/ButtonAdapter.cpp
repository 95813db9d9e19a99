#include "gui/adapters/ButtonAdapter.h"

#include "platform/ui/Button.h"

namespace kelpa::gui {

using platform::ui::Button;

QString ButtonAdapter::title() const {
    auto button = as<Button>();
    return button ? QString::fromStdString(button->titleForState()) : QString();
}

QString ButtonAdapter::buttonType() const {
    auto button = as<Button>();
    if (!button) return QStringLiteral("system");
    switch (button->buttonType()) {
        case Button::Type::detailDisclosure: return QStringLiteral("detailDisclosure");
        case Button::Type::checkBox: return QStringLiteral("checkBox");
        case Button::Type::system: break;
    }
    return QStringLiteral("system");
}

bool ButtonAdapter::tap() {
    auto button = as<Button>();
    if (!button || !usable()) return false;
    button->tap();
    return true;
}

}  // namespace kelpa::gui
