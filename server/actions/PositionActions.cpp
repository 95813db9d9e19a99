#include "server/actions/PositionActions.h"

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/actions/RecordJson.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"

namespace kelpa::server {
namespace {

constexpr std::int64_t kMaxWaypoints = 200;

Step reportPosition(ActionContext& c) {
    const auto me = c.signedInUser();
    const double lati = c.request().number("lati", -90, 90);
    const double longi = c.request().number("longi", -180, 180);
    if (!c.store().reportPosition(me, c.device(), lati, longi, c.now()))
        throw Refusal("Not joined to an open group on this device");
    return Replies::ok();
}

Step positions(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    c.requireMember(group, me);
    auto list = nlohmann::json::array();
    for (const auto& p : c.store().positions(group, c.now())) list.push_back(RecordJson::position(p));
    return Step::reply(std::move(list));
}

Step addWaypoint(ActionContext& c) {
    const auto me = c.signedInUser();
    WaypointRow w;
    w.groupId = c.request().id("groupID");
    w.lati = c.request().number("lati", -90, 90);
    w.longi = c.request().number("longi", -180, 180);
    c.requireMember(w.groupId, me);
    const auto count = c.store().waypointCount(w.groupId);
    if (count >= kMaxWaypoints) throw Refusal("The group has too many waypoints");
    // Older clients do not send the order; such a waypoint goes last.
    w.number = c.request().has("number") ? c.request().integer("number", 0, 10000) : count + 1;
    c.store().addWaypoint(w);
    return Replies::ok();
}

Step waypoints(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto group = c.request().id("groupID");
    c.requireMember(group, me);
    auto list = nlohmann::json::array();
    for (const auto& w : c.store().waypoints(group)) list.push_back(RecordJson::waypoint(w));
    return Step::reply(std::move(list));
}

}  // namespace

void PositionActions::install(Dispatcher& d) {
    d.add(200, reportPosition);
    d.add(201, positions);
    d.add(400, addWaypoint);
    d.add(401, waypoints);
}

}  // namespace kelpa::server
