#include "server/actions/MemberActions.h"

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/actions/RecordJson.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"

namespace kelpa::server {
namespace {

const nlohmann::json kMembersChanged = {{"acme-action", 301}};

std::vector<std::int64_t> without(std::vector<std::int64_t> ids, std::int64_t user) {
    std::erase(ids, user);
    return ids;
}

Step join(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    c.requireMember(group, me);
    const auto row = c.store().group(group);
    if (!row || c.now() < row->startTime || c.now() > row->endTime)
        throw Refusal("The group can only be joined during its time window");
    if (const auto joined = c.store().joinedGroupOf(me); joined && *joined != group)
        throw Refusal("Already joined to another group, leave it first");
    c.store().setJoined(group, me, c.device(), c.now());
    c.push(without(c.store().memberIds(group), me), kMembersChanged);
    return Replies::ok();
}

Step invite(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    const auto invited = c.request().id("inviteID");
    c.requireMember(group, me);
    if (!c.store().user(invited)) throw Refusal("No such user");
    if (!c.store().member(group, invited)) {
        c.store().addMember(group, invited, false);
        c.push(without(c.store().memberIds(group), me), kMembersChanged);
    }
    return Replies::ok();
}

Step removeMember(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    const auto removed = c.request().id("removeID");
    if (!c.requireMember(group, me).isLeader) throw Refusal("Only the group's leader can remove members");
    if (removed == me) throw Refusal("The leader cannot remove themselves");
    if (!c.store().member(group, removed)) throw Refusal("Not a member of this group");
    c.store().removeMember(group, removed);
    auto told = without(c.store().memberIds(group), me);
    told.push_back(removed);
    c.push(told, kMembersChanged);
    return Replies::ok();
}

Step unjoin(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    if (c.requireMember(group, me).joined) {
        c.store().clearJoined(group, me);
        c.push(without(c.store().memberIds(group), me), kMembersChanged);
    }
    return Replies::ok();
}

Step members(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    c.requireMember(group, me);
    auto list = nlohmann::json::array();
    for (const auto& m : c.store().members(group, c.now())) list.push_back(RecordJson::member(m, me));
    return Step::reply(std::move(list));
}

}  // namespace

void MemberActions::install(Dispatcher& d) {
    d.add(305, join);
    d.add(306, invite);
    d.add(307, removeMember);
    d.add(308, unjoin);
    d.add(309, members);
}

}  // namespace kelpa::server
