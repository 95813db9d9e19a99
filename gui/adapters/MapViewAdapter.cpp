#include "gui/adapters/MapViewAdapter.h"

namespace kelpa::gui {

std::shared_ptr<platform::MapView> MapViewAdapter::mapView() const { return as<platform::MapView>(); }

}  // namespace kelpa::gui
