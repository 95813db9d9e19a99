#include "platform/maps/MapItem.h"

namespace kelpa::platform {

std::shared_ptr<MapItem> MapItem::mapItemForCurrentLocation() { return std::make_shared<MapItem>(Placemark{}, true); }

std::shared_ptr<MapItem> MapItem::initWithPlacemark(Placemark placemark) {
    return std::make_shared<MapItem>(std::move(placemark), false);
}

MapItem::MapItem(Placemark placemark, bool isCurrentLocation)
    : placemark_(std::move(placemark)), isCurrentLocation_(isCurrentLocation) {}

}  // namespace kelpa::platform
