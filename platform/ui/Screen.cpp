#include "platform/ui/Screen.h"

#include "platform/Environment.h"

namespace kelpa::platform::ui {

namespace {
struct ScreenSize {
    Size size{390, 844};
};
}  // namespace

Rect Screen::mainScreenBounds() {
    const auto size = Environment::current()->local<ScreenSize>().size;
    return {0, 0, size.width, size.height};
}

void Screen::setMainScreenSize(Size size) { Environment::current()->local<ScreenSize>().size = size; }

}  // namespace kelpa::platform::ui
