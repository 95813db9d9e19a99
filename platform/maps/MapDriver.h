#pragma once

#include "platform/maps/MapView.h"
#include "platform/ui/Driver.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// Acts on a map of the front-most screen as a person would, and reads what it shows: the
// pins by their titles, their callouts, the routes. Found by the map's field name.
class MapDriver {
public:
    MapDriver(const ui::Driver& driver, std::string mapName);

    std::shared_ptr<MapView> map() const;

    // Pins other than the device's own marker, as "title | subtitle" ("title" without a
    // subtitle), in the order added.
    std::vector<std::string> pins() const;
    // The annotation whose pin has this title, or none.
    std::shared_ptr<Annotation> pin(const std::string& title) const;

    // Each returns false when the map or the pin is missing.
    bool selectPin(const std::string& title);
    bool deselectPin();
    // The accessory on the right of the open callout of the pin with this title.
    bool tapCalloutDetail(const std::string& title);

    // The routes drawn.
    size_t routeCount() const;

private:
    const ui::Driver& driver_;
    std::string mapName_;
};

}  // namespace kelpa::platform
