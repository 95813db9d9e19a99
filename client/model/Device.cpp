#include "client/model/Device.h"

#include "client/model/DataConversion.h"
#include "client/model/Position.h"
#include "client/model/RecordMapping.h"
#include "client/service/API.h"
#include "platform/Async.h"
#include "platform/Log.h"

namespace kelpa {

std::shared_ptr<Device> Device::initWithJSON(const nlohmann::json& json) {
    auto device = std::make_shared<Device>();
    device->deviceID = JSONConversion::text(json, "deviceID");
    device->position = RecordMapping::object<Position>(json, "Position");
    return device;
}

void Device::updateDeviceToken(std::string_view token) {
    const std::string hex = DataConversion::hexadecimalString(token);
    platform::log(hex);
    platform::runInBackground(
        "updateDeviceToken",
        [hex] {
            API::requestWithDictionary(Parameters(Action::updateDeviceToken).add("token", hex),
                                       std::string(API::kAnonymousUserID));
            return 0;
        },
        [](int) {});
}

}  // namespace kelpa
