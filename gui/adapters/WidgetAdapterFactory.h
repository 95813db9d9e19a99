#pragma once

#include "gui/adapters/WidgetAdapter.h"

#include <memory>

namespace kelpa::gui {

// The adapter for a view's kind of widget (a plain WidgetAdapter for containers and kinds
// without one of their own).
class WidgetAdapterFactory {
public:
    static WidgetAdapter* make(const std::shared_ptr<platform::ui::View>& view, QObject* parent);
};

}  // namespace kelpa::gui
