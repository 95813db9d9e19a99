#include "platform/ui/Label.h"

namespace kelpa::platform::ui {

void Label::setText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    changed();
}

}  // namespace kelpa::platform::ui
