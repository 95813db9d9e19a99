#pragma once

#include "platform/ui/Geometry.h"

namespace kelpa::platform::ui {

// The device's screen. A phone's, 390 by 844 points, unless the renderer says otherwise.
class Screen {
public:
    static Rect mainScreenBounds();
    static void setMainScreenSize(Size size);
};

}  // namespace kelpa::platform::ui
