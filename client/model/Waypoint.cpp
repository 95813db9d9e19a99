#include "client/model/Waypoint.h"

#include "client/service/JSONConversion.h"

namespace kelpa {

using C = JSONConversion;

std::shared_ptr<Waypoint> Waypoint::initWithJSON(const nlohmann::json& json) {
    auto waypoint = std::make_shared<Waypoint>();
    waypoint->waypointID = C::text(json, "waypointID");
    waypoint->lati = C::number(json, "lati");
    waypoint->longi = C::number(json, "longi");
    waypoint->number = C::number(json, "number");
    waypoint->groupID = C::text(json, "groupID");
    return waypoint;
}

}  // namespace kelpa
