#pragma once

#include "gui/adapters/WidgetAdapter.h"
#include "platform/maps/MapView.h"

namespace kelpa::gui {

// A map view; the tile map item draws it and takes its touches.
class MapViewAdapter : public WidgetAdapter {
    Q_OBJECT

public:
    using WidgetAdapter::WidgetAdapter;
    std::shared_ptr<platform::MapView> mapView() const;
};

}  // namespace kelpa::gui
