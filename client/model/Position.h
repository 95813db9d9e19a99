#pragma once

#include "client/model/Handlers.h"
#include "client/service/DateFormat.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>

namespace kelpa {

// The last position a device reported.
class Position : public std::enable_shared_from_this<Position> {
public:
    std::string deviceID;
    std::optional<double> lati;
    std::optional<double> longi;
    std::optional<Date> synchronized;

    static std::shared_ptr<Position> initWithJSON(const nlohmann::json& json);

    // Reports the device's new position; on success the record takes the coordinates.
    void updatePositionToLatitude(double latitude, double andLongitude, StatusHandler handler);
};

}  // namespace kelpa
