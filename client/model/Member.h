#pragma once

#include "client/model/Handlers.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>

namespace kelpa {

class Device;
class User;

// One user's membership in one group, with the device the user joined with.
class Member {
public:
    std::shared_ptr<User> user;
    std::shared_ptr<Device> device;  // none while the member is not joined
    std::string groupID;
    std::optional<std::string> joined;  // present exactly when the member is joined
    bool isLeader = false;

    static std::shared_ptr<Member> initWithJSON(const nlohmann::json& json);

    void removeMemberFromGroupWithCompletitionHandler(StatusHandler handler);
};

}  // namespace kelpa
