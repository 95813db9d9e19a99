#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <string_view>

namespace kelpa {

class Position;
class User;

class Device {
public:
    std::string deviceID;
    std::shared_ptr<Position> position;
    std::shared_ptr<User> user;  // not filled from JSON

    static std::shared_ptr<Device> initWithJSON(const nlohmann::json& json);

    // Hands the push token to the service, tied to this installation; nobody is told the outcome.
    static void updateDeviceToken(std::string_view token);
};

}  // namespace kelpa
