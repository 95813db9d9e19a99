#include "gui/adapters/ActivityIndicatorAdapter.h"

#include "platform/ui/ActivityIndicatorView.h"

namespace kelpa::gui {

bool ActivityIndicatorAdapter::isAnimating() const {
    auto indicator = as<platform::ui::ActivityIndicatorView>();
    return indicator && indicator->isAnimating();
}

}  // namespace kelpa::gui
