#include "client/model/Member.h"

#include "client/model/Device.h"
#include "client/model/Group.h"
#include "client/model/ModelRequest.h"
#include "client/model/RecordMapping.h"
#include "client/model/User.h"
#include "platform/Async.h"

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

namespace {
// The record that holds the member list this member was taken from, as far as the client knows.
std::shared_ptr<Group> groupWithID(const std::string& groupID) {
    if (auto joined = Group::getJoinedGroup(); joined && joined->groupID == groupID) return joined;
    if (auto current = User::getCurrentUser(); current && current->groups) {
        for (const auto& group : *current->groups) {
            if (group && group->groupID == groupID) return group;
        }
    }
    return nullptr;
}
}  // namespace

void Member::removeMemberFromGroupWithCompletitionHandler(StatusHandler handler, std::shared_ptr<Group> fromGroup) {
    auto userID = ModelRequest::currentUserID();
    auto parameters = Parameters(Action::removeMemberFromGroup)
                          .add("removeID", user && user->userID ? *user->userID : "")
                          .add("groupID", groupID);
    platform::runInBackground(
        "removeMemberFromGroup",
        [parameters, userID] { return Reply::status(API::requestWithDictionary(parameters, userID)); },
        [handler, fromGroup, groupID = groupID](StatusResult result) {
            auto group = fromGroup ? fromGroup : groupWithID(groupID);
            if (result.info || !group) {
                if (handler) handler(result.code, result.info);
                return;
            }
            // The reload delivers the held list at once and the fetched one later; the caller
            // hears the outcome with the latter, whether the fetch worked or not.
            auto delivered = std::make_shared<bool>(false);
            auto fetching = std::make_shared<bool>(false);
            group->loadMembersWithCompletitionHandler(
                [handler, code = result.code, delivered, fetching](auto, auto) {
                    if (!*fetching || *delivered) return;
                    *delivered = true;
                    if (handler) handler(code, std::nullopt);
                },
                true);
            *fetching = true;
        });
}

}  // namespace kelpa
