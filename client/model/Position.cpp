#include "client/model/Position.h"

#include "client/model/User.h"
#include "client/service/API.h"
#include "client/service/JSONConversion.h"
#include "client/service/Reply.h"
#include "platform/Async.h"

namespace kelpa {

using C = JSONConversion;

std::shared_ptr<Position> Position::initWithJSON(const nlohmann::json& json) {
    auto position = std::make_shared<Position>();
    position->deviceID = C::text(json, "deviceID");
    position->lati = C::number(json, "lati");
    position->longi = C::number(json, "longi");
    position->synchronized = C::date(json, "synchronized");
    return position;
}

void Position::updatePositionToLatitude(double latitude, double andLongitude, StatusHandler handler) {
    auto current = User::getCurrentUser();
    std::optional<std::string> userID = current ? current->userID : std::nullopt;
    platform::runInBackground(
        "updatePosition",
        [=] {
            return Reply::status(API::requestWithDictionary(
                Parameters(Action::updatePosition).add("lati", latitude).add("longi", andLongitude), userID));
        },
        [self = shared_from_this(), latitude, andLongitude, handler](StatusResult result) {
            if (!result.info) {
                self->lati = latitude;
                self->longi = andLongitude;
            }
            if (handler) handler(result.code, result.info);
        });
}

}  // namespace kelpa
