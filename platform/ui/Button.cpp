#include "platform/ui/Button.h"

namespace kelpa::platform::ui {

Button::Button(std::string name, Type type) : Control(std::move(name)), type_(type) {}

std::shared_ptr<Button> Button::buttonWithType(Type type) { return std::make_shared<Button>(std::string(), type); }

void Button::setTitle(std::string title) {
    if (title_ == title) return;
    title_ = std::move(title);
    changed();
}

}  // namespace kelpa::platform::ui
