#include "server/actions/GroupActions.h"

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/actions/RecordJson.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"
#include "server/WallClock.h"
#include "server/WordList.h"

namespace kelpa::server {
namespace {

constexpr std::size_t kMaxDescription = 200;
constexpr std::size_t kMaxWord = 40;
const nlohmann::json kMembersChanged = {{"acme-action", 301}};

std::int64_t date(const Request& r, const std::string& field) {
    const auto value = WallClock::parse(r.text(field, 19));
    if (!value) throw Refusal("Malformed field " + field);
    return *value;
}

std::vector<std::int64_t> without(std::vector<std::int64_t> ids, std::int64_t user) {
    std::erase(ids, user);
    return ids;
}

Step createGroup(ActionContext& c) {
    const auto me = c.signedInUser();
    GroupRow g;
    g.description = c.request().text("description", kMaxDescription);
    g.startTime = date(c.request(), "startTime");
    g.endTime = date(c.request(), "endTime");
    g.groupType = static_cast<int>(c.request().integer("groupType", 1, 3));
    g.created = c.now();
    if (g.endTime < g.startTime) throw Refusal("The group ends before it starts");
    if (g.endTime < c.now()) throw Refusal("The group's time window has already closed");
    // The words must identify one open group; with 2,000+ words a clash is rare.
    for (int attempt = 0;; ++attempt) {
        std::tie(g.wordOne, g.wordTwo) = WordList::shared().randomPair();
        if (!c.store().wordsInUse(g.wordOne, g.wordTwo, c.now())) break;
        if (attempt == 50) throw Refusal("No free secret words, please try again");
    }
    g.id = c.store().createGroup(g);
    c.store().addMember(g.id, me, true);
    return Step::reply({{"code", 0},
                        {"groupID", std::to_string(g.id)},
                        {"wordOne", g.wordOne},
                        {"wordTwo", g.wordTwo}});
}

Step myGroups(ActionContext& c) {
    const auto me = c.signedInUser();
    auto list = nlohmann::json::array();
    for (const auto& g : c.store().groupsOf(me))
        list.push_back(RecordJson::group(g, c.store().members(g.id, c.now()), c.store().waypoints(g.id), me));
    return Step::reply(std::move(list));
}

Step leaveGroup(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    if (c.requireMember(group, me).isLeader)
        throw Refusal("The group's leader deletes the group instead of leaving it");
    c.store().removeMember(group, me);
    c.push(c.store().memberIds(group), kMembersChanged);
    return Replies::ok();
}

Step deleteGroup(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    if (!c.requireMember(group, me).isLeader) throw Refusal("Only the group's leader can delete it");
    const auto others = without(c.store().memberIds(group), me);
    c.store().deleteGroup(group);
    c.push(others, kMembersChanged);
    return Replies::ok();
}

Step quickJoin(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto one = WordList::normalise(c.request().text("wordOne", kMaxWord));
    const auto two = WordList::normalise(c.request().text("wordTwo", kMaxWord));
    const auto& byUser = c.services().wordGuesses;
    const auto& byAddress = c.services().wordGuessesByAddress;
    const auto& address = c.request().clientAddress();
    if (byUser.limited(c.store(), std::to_string(me), c.now()) || byAddress.limited(c.store(), address, c.now()))
        throw Refusal("Too many wrong words, try again later");
    const auto group = c.store().openGroupByWords(one, two, c.now());
    // Recorded right after the rollback, in this transaction: the next guess already counts it.
    if (!group)
        throw Refusal("No open group has these words", 1, {byUser.key(std::to_string(me)), byAddress.key(address)});
    if (!c.store().member(*group, me)) {
        c.store().addMember(*group, me, false);
        c.push(without(c.store().memberIds(*group), me), kMembersChanged);
    }
    return Replies::ok();
}

Step loadGroup(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.store().group(c.request().id("loadID"));
    if (!group) throw Refusal("No such group");
    // Outsiders learn what the group is, not who is in it or where they are.
    if (!c.store().member(group->id, me)) return Step::reply(RecordJson::group(*group, {}, {}, me));
    return Step::reply(RecordJson::group(*group, c.store().members(group->id, c.now()),
                                         c.store().waypoints(group->id), me));
}

Step requestJoin(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.store().group(c.request().id("groupID"));
    if (!group) throw Refusal("No such group");
    if (group->endTime < c.now()) throw Refusal("The group's time window has closed");
    if (c.store().member(group->id, me)) throw Refusal("Already a member of this group");
    // The leader is asked each time: a requester gets a few prompts per group, not a flood.
    if (c.services().joinRequests.exhausted(c.store(), std::to_string(me) + ":" + std::to_string(group->id), c.now()))
        throw Refusal("Too many join requests for this group, try again later");
    c.push(c.store().leaderIds(group->id),
           {{"acme-action", 302}, {"acme-objectID", std::to_string(me)}});
    return Replies::ok();
}

}  // namespace

void GroupActions::install(Dispatcher& d) {
    d.add(300, createGroup);
    d.add(301, myGroups);
    d.add(302, leaveGroup);
    d.add(303, deleteGroup);
    d.add(311, quickJoin);
    d.add(312, loadGroup);
    d.add(313, requestJoin);
}

}  // namespace kelpa::server
