#include "client/model/Member.h"

#include "client/model/Device.h"
#include "client/model/RecordMapping.h"
#include "client/model/User.h"

namespace kelpa {

using C = JSONConversion;

std::shared_ptr<Member> Member::initWithJSON(const nlohmann::json& json) {
    auto member = std::make_shared<Member>();
    member->user = RecordMapping::object<User>(json, "User");
    member->groupID = C::text(json, "groupID");
    member->isLeader = C::boolean(json, "isLeader");
    // A member whose device is JSON null is not joined, whatever "joined" says. Otherwise
    // any "joined" member at all, null included, marks the member as joined.
    const bool deviceIsNull = json.is_object() && json.contains("Device") && json["Device"].is_null();
    if (!deviceIsNull) {
        member->device = RecordMapping::object<Device>(json, "Device");
        if (json.is_object()) {
            if (auto it = json.find("joined"); it != json.end()) member->joined = C::valueText(*it);
        }
    }
    return member;
}

}  // namespace kelpa
