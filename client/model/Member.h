#pragma once

#include "client/model/Handlers.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>

namespace kelpa {

class Device;
class Group;
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

    // Action 307. After a success the group's members are fetched anew before the handler
    // runs, so the removed member has left the list by then. `fromGroup` is the record whose
    // list to refresh; when it is none, the joined group or the signed-in user's cached group
    // with this member's groupID is refreshed, if there is one.
    void removeMemberFromGroupWithCompletitionHandler(StatusHandler handler,
                                                      std::shared_ptr<Group> fromGroup = nullptr);
};

}  // namespace kelpa
