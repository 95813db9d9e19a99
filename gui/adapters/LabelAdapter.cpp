#include "gui/adapters/LabelAdapter.h"

#include "platform/ui/Label.h"

namespace kelpa::gui {

QString LabelAdapter::text() const {
    auto label = as<platform::ui::Label>();
    return label ? QString::fromStdString(label->text()) : QString();
}

}  // namespace kelpa::gui
