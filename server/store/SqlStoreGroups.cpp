// The group half of SqlStore: groups, members, positions and waypoints.
#include "server/store/SqlStore.h"

namespace kelpa::server {
namespace {

using I = std::int64_t;

constexpr const char* kGroupColumns =
    "g.id, g.description, g.created, g.group_type, g.start_time, g.end_time, g.word_one, g.word_two";

GroupRow groupFrom(const SqlRow& r) {
    return {r.integer(0), r.text(1), r.integer(2), static_cast<int>(r.integer(3)),
            r.integer(4), r.integer(5), r.text(6), r.text(7)};
}

// $2 is the time at which the group's window must be open for positions to be read.
constexpr const char* kMemberSelect =
    "SELECT u.id, u.display_name, u.phone_number, u.registration_completed, u.social_type, "
    "u.social_id, m.group_id, m.is_leader, m.joined, m.device_id, m.lati, m.longi, "
    "CASE WHEN g.start_time <= $2 AND g.end_time >= $2 THEN m.synchronized END "
    "FROM members m JOIN users u ON u.id = m.user_id JOIN travel_groups g ON g.id = m.group_id "
    "WHERE m.group_id = $1";

MemberRow memberFrom(const SqlRow& r) {
    MemberRow m;
    m.user.id = r.integer(0);
    m.user.displayName = r.text(1);
    m.user.phoneNumber = r.text(2);
    m.user.registrationCompleted = r.integer(3) != 0;
    if (!r.isNull(4)) m.user.socialType = static_cast<int>(r.integer(4));
    m.user.socialId = r.text(5);
    m.groupId = r.integer(6);
    m.isLeader = r.integer(7) != 0;
    m.joined = r.optionalInteger(8);
    m.deviceId = r.optionalInteger(9);
    if (m.deviceId && !r.isNull(12))
        m.position = PositionRow{*m.deviceId, r.real(10), r.real(11), r.integer(12)};
    return m;
}

std::string with(std::string_view head, std::string_view tail = {}) {
    std::string out(head);
    out += tail;
    return out;
}

}  // namespace

bool SqlStore::wordsInUse(const std::string& one, const std::string& two, I now) {
    return !db_.query("SELECT 1 FROM travel_groups WHERE word_one = $1 AND word_two = $2 AND "
                      "end_time >= $3",
                      {one, two, now})
                .empty();
}

std::int64_t SqlStore::createGroup(const GroupRow& g) {
    return db_
        .query("INSERT INTO travel_groups (description, created, group_type, start_time, end_time, "
               "word_one, word_two) VALUES ($1, $2, $3, $4, $5, $6, $7) RETURNING id",
               {g.description, g.created, I{g.groupType}, g.startTime, g.endTime, g.wordOne,
                g.wordTwo})
        .at(0)
        .integer(0);
}

std::optional<GroupRow> SqlStore::group(I id) {
    const auto rows = db_.query(
        with("SELECT ", kGroupColumns) + " FROM travel_groups g WHERE g.id = $1", {id});
    if (rows.empty()) return std::nullopt;
    return groupFrom(rows[0]);
}

std::optional<std::int64_t> SqlStore::openGroupByWords(const std::string& one,
                                                       const std::string& two, I now) {
    const auto found = ids("SELECT id FROM travel_groups WHERE word_one = $1 AND word_two = $2 AND "
                           "end_time >= $3 ORDER BY id DESC LIMIT 1",
                           {one, two, now});
    if (found.empty()) return std::nullopt;
    return found[0];
}

std::vector<GroupRow> SqlStore::groupsOf(I user) {
    std::vector<GroupRow> out;
    for (const auto& r : db_.query(with("SELECT ", kGroupColumns) +
                                       " FROM travel_groups g JOIN members m ON m.group_id = g.id "
                                       "WHERE m.user_id = $1 ORDER BY g.id",
                                   {user}))
        out.push_back(groupFrom(r));
    return out;
}

void SqlStore::deleteGroup(I id) {
    // Explicit deletes keep the engines alike even where cascading is switched off.
    db_.query("DELETE FROM members WHERE group_id = $1", {id});
    db_.query("DELETE FROM waypoints WHERE group_id = $1", {id});
    db_.query("DELETE FROM travel_groups WHERE id = $1", {id});
}

std::optional<MemberRow> SqlStore::member(I group, I user) {
    // Only the membership itself is wanted here: no time is open, so no position is read.
    const auto rows = db_.query(with(kMemberSelect, " AND m.user_id = $3"), {group, I{-1}, user});
    if (rows.empty()) return std::nullopt;
    return memberFrom(rows[0]);
}

std::vector<MemberRow> SqlStore::members(I group, I now) {
    std::vector<MemberRow> out;
    for (const auto& r : db_.query(with(kMemberSelect, " ORDER BY m.is_leader DESC, u.id"), {group, now}))
        out.push_back(memberFrom(r));
    return out;
}

std::vector<std::int64_t> SqlStore::memberIds(I group) {
    return ids("SELECT user_id FROM members WHERE group_id = $1 ORDER BY user_id", {group});
}

std::vector<std::int64_t> SqlStore::leaderIds(I group) {
    return ids("SELECT user_id FROM members WHERE group_id = $1 AND is_leader = 1 ORDER BY user_id",
               {group});
}

void SqlStore::addMember(I group, I user, bool leader) {
    db_.query("INSERT INTO members (group_id, user_id, is_leader) VALUES ($1, $2, $3) "
              "ON CONFLICT (group_id, user_id) DO NOTHING",
              {group, user, I{leader ? 1 : 0}});
}

void SqlStore::removeMember(I group, I user) {
    db_.query("DELETE FROM members WHERE group_id = $1 AND user_id = $2", {group, user});
}

std::optional<std::int64_t> SqlStore::joinedGroupOf(I user) {
    const auto found = ids("SELECT group_id FROM members WHERE user_id = $1 AND joined IS NOT NULL",
                           {user});
    if (found.empty()) return std::nullopt;
    return found[0];
}

void SqlStore::setJoined(I group, I user, I device, I now) {
    db_.query("UPDATE members SET joined = $3, device_id = $4, lati = NULL, longi = NULL, synchronized = NULL "
              "WHERE group_id = $1 AND user_id = $2",
              {group, user, now, device});
}

void SqlStore::clearJoined(I group, I user) {
    db_.query("UPDATE members SET joined = NULL, device_id = NULL, lati = NULL, longi = NULL, "
              "synchronized = NULL WHERE group_id = $1 AND user_id = $2",
              {group, user});
}

bool SqlStore::reportPosition(I user, I device, double lati, double longi, I now) {
    return db_.execute("UPDATE members SET lati = $3, longi = $4, synchronized = $5 WHERE user_id = $1 AND "
                       "device_id = $2 AND joined IS NOT NULL AND EXISTS (SELECT 1 FROM travel_groups g "
                       "WHERE g.id = members.group_id AND g.start_time <= $5 AND g.end_time >= $5)",
                       {user, device, lati, longi, now}) > 0;
}

std::vector<PositionRow> SqlStore::positions(I group, I now) {
    std::vector<PositionRow> out;
    // The window is checked here too, so nothing is served between its end and the purge.
    for (const auto& r : db_.query(
             "SELECT m.device_id, m.lati, m.longi, m.synchronized FROM members m JOIN travel_groups g ON "
             "g.id = m.group_id WHERE m.group_id = $1 AND m.joined IS NOT NULL AND m.device_id IS NOT NULL "
             "AND m.synchronized IS NOT NULL AND g.start_time <= $2 AND g.end_time >= $2 ORDER BY m.user_id",
             {group, now}))
        out.push_back({r.integer(0), r.real(1), r.real(2), r.integer(3)});
    return out;
}

std::int64_t SqlStore::purgeEndedPositions(I now) {
    return static_cast<I>(
        db_.query("UPDATE members SET lati = NULL, longi = NULL, synchronized = NULL WHERE synchronized IS "
                  "NOT NULL AND group_id IN (SELECT id FROM travel_groups WHERE end_time < $1) RETURNING group_id",
                  {now})
            .size());
}

std::int64_t SqlStore::addWaypoint(const WaypointRow& w) {
    return db_
        .query("INSERT INTO waypoints (group_id, lati, longi, number) VALUES ($1, $2, $3, $4) "
               "RETURNING id",
               {w.groupId, w.lati, w.longi, w.number})
        .at(0)
        .integer(0);
}

std::vector<WaypointRow> SqlStore::waypoints(I group) {
    std::vector<WaypointRow> out;
    for (const auto& r : db_.query("SELECT id, group_id, lati, longi, number FROM waypoints WHERE "
                                   "group_id = $1 ORDER BY number, id",
                                   {group}))
        out.push_back({r.integer(0), r.integer(1), r.real(2), r.real(3), r.integer(4)});
    return out;
}

std::int64_t SqlStore::waypointCount(I group) {
    return db_.query("SELECT COUNT(*) FROM waypoints WHERE group_id = $1", {group}).at(0).integer(0);
}

}  // namespace kelpa::server
