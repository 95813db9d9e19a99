#pragma once

#include "platform/ui/Geometry.h"

namespace kelpa::platform {

// One map tile a viewport needs: its address (zoom, column, row) and where it goes on
// screen, in pixels.
struct VisibleTile {
    int z = 0;
    int x = 0;
    int y = 0;
    ui::Rect rect;

    bool operator==(const VisibleTile&) const = default;
};

}  // namespace kelpa::platform
