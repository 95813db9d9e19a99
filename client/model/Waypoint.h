#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>

namespace kelpa {

// A numbered point of a group's route.
class Waypoint {
public:
    std::string waypointID;
    std::optional<double> lati;
    std::optional<double> longi;
    std::optional<double> number;
    std::string groupID;

    static std::shared_ptr<Waypoint> initWithJSON(const nlohmann::json& json);
};

}  // namespace kelpa
