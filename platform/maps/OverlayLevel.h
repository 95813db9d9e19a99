#pragma once

namespace kelpa::platform {

// Where an overlay is drawn among the map's own layers.
enum class OverlayLevel { aboveRoads = 0, aboveLabels = 1 };

}  // namespace kelpa::platform
