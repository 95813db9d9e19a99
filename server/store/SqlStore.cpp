#include "server/store/SqlStore.h"

#include <nlohmann/json.hpp>

namespace kelpa::server {
namespace {

using I = std::int64_t;

constexpr const char* kUserColumns =
    "u.id, u.display_name, u.phone_number, u.registration_completed, u.social_type, u.social_id";

UserRow userFrom(const SqlRow& r) {
    UserRow u;
    u.id = r.integer(0);
    u.displayName = r.text(1);
    u.phoneNumber = r.text(2);
    u.registrationCompleted = r.integer(3) != 0;
    if (!r.isNull(4)) u.socialType = static_cast<int>(r.integer(4));
    u.socialId = r.text(5);
    return u;
}

std::string sql(std::string_view text) {
    std::string out(text);
    const std::string_view token = "{USER}";
    if (auto at = out.find(token); at != std::string::npos) out.replace(at, token.size(), kUserColumns);
    return out;
}

}  // namespace

SqlStore::SqlStore(Database& db) : db_(db) {}

std::vector<std::int64_t> SqlStore::ids(std::string_view text, const std::vector<SqlParam>& params) {
    std::vector<std::int64_t> out;
    for (const auto& r : db_.query(text, params)) out.push_back(r.integer(0));
    return out;
}

std::vector<UserRow> SqlStore::userList(std::string_view text, const std::vector<SqlParam>& params) {
    std::vector<UserRow> out;
    for (const auto& r : db_.query(sql(text), params)) out.push_back(userFrom(r));
    return out;
}

std::optional<Credential> SqlStore::credentialByEmail(const std::string& email) {
    const auto rows = db_.query(
        "SELECT id, password_hash FROM users WHERE email = $1 AND password_hash IS NOT NULL", {email});
    if (rows.empty()) return std::nullopt;
    return Credential{rows[0].integer(0), rows[0].text(1)};
}

std::optional<std::int64_t> SqlStore::createEmailUser(const std::string& email,
                                                      const std::string& passwordHash,
                                                      const std::string& displayName, I now) {
    const auto rows = db_.query(
        "INSERT INTO users (display_name, email, password_hash, created) VALUES ($1, $2, $3, $4) "
        "ON CONFLICT DO NOTHING RETURNING id",
        {displayName, email, passwordHash, now});
    if (rows.empty()) return std::nullopt;
    return rows[0].integer(0);
}

std::optional<std::int64_t> SqlStore::userBySocial(int type, const std::string& socialId) {
    const auto found = ids("SELECT id FROM users WHERE social_type = $1 AND social_id = $2",
                           {I{type}, socialId});
    if (found.empty()) return std::nullopt;
    return found[0];
}

std::optional<std::int64_t> SqlStore::createSocialUser(int type, const std::string& socialId,
                                                       const std::string& displayName, I now) {
    const auto rows = db_.query(
        "INSERT INTO users (display_name, social_type, social_id, created) VALUES ($1, $2, $3, $4) "
        "ON CONFLICT DO NOTHING RETURNING id",
        {displayName, I{type}, socialId, now});
    if (rows.empty()) return std::nullopt;
    return rows[0].integer(0);
}

std::optional<UserRow> SqlStore::user(I id) {
    auto found = userList("SELECT {USER} FROM users u WHERE u.id = $1", {id});
    if (found.empty()) return std::nullopt;
    return found[0];
}

std::vector<UserRow> SqlStore::users(I limit) {
    return userList("SELECT {USER} FROM users u ORDER BY u.id LIMIT $1", {limit});
}

std::vector<UserRow> SqlStore::usersByPhone(const std::string& number) {
    return userList("SELECT {USER} FROM users u WHERE u.phone_number = $1 AND u.phone_verified = 1 "
                    "ORDER BY u.id", {number});
}

void SqlStore::setDisplayName(I user, const std::string& name) {
    db_.query("UPDATE users SET display_name = $2 WHERE id = $1", {user, name});
}

void SqlStore::setVerifiedPhoneNumber(I user, const std::string& number) {
    db_.query("UPDATE users SET phone_number = $2, phone_verified = 1 WHERE id = $1", {user, number});
}

bool SqlStore::hasVerifiedPhone(I user) {
    return !db_.query("SELECT 1 FROM users WHERE id = $1 AND phone_verified = 1 AND phone_number <> ''",
                      {user})
                .empty();
}

void SqlStore::setRegistrationCompleted(I user, bool completed) {
    db_.query("UPDATE users SET registration_completed = $2 WHERE id = $1",
              {user, I{completed ? 1 : 0}});
}

std::int64_t SqlStore::ensureDevice(const std::string& deviceKey) {
    db_.query("INSERT INTO devices (device_key) VALUES ($1) ON CONFLICT (device_key) DO NOTHING",
              {deviceKey});
    return *deviceByKey(deviceKey);
}

std::optional<std::int64_t> SqlStore::deviceByKey(const std::string& deviceKey) {
    const auto found = ids("SELECT id FROM devices WHERE device_key = $1", {deviceKey});
    if (found.empty()) return std::nullopt;
    return found[0];
}

void SqlStore::bindDevice(I user, I device, I now, int maxDevices) {
    db_.query(
        "INSERT INTO bindings (user_id, device_id, last_used) VALUES ($1, $2, $3) "
        "ON CONFLICT (user_id, device_id) DO UPDATE SET last_used = excluded.last_used",
        {user, device, now});
    db_.query("UPDATE devices SET current_user_id = $1 WHERE id = $2", {user, device});
    db_.query(
        "DELETE FROM bindings WHERE user_id = $1 AND device_id NOT IN (SELECT device_id FROM "
        "bindings WHERE user_id = $1 ORDER BY last_used DESC, device_id DESC LIMIT $2)",
        {user, I{maxDevices}});
    db_.query(
        "UPDATE devices SET current_user_id = NULL WHERE current_user_id = $1 AND id NOT IN "
        "(SELECT device_id FROM bindings WHERE user_id = $1)",
        {user});
}

Store::BindingCheck SqlStore::checkBinding(I user, const std::string& deviceKey, const std::string& failureKey,
                                           I since) {
    const auto rows = db_.query(
        "SELECT (SELECT d.id FROM devices d JOIN bindings b ON b.device_id = d.id "
        "WHERE d.device_key = $1 AND b.user_id = $2), "
        "(SELECT COUNT(*) FROM failures WHERE key = $3 AND at >= $4)",
        {deviceKey, user, failureKey, since});
    const auto& row = rows.at(0);
    BindingCheck check;
    if (!row.isNull(0)) check.device = row.integer(0);
    check.recentFailures = row.integer(1);
    return check;
}

void SqlStore::setPushToken(I device, const std::string& token) {
    db_.query("UPDATE devices SET push_token = $2 WHERE id = $1", {device, token});
}

std::optional<std::string> SqlStore::pushToken(I device) {
    const auto rows = db_.query("SELECT push_token FROM devices WHERE id = $1", {device});
    if (rows.empty() || rows[0].isNull(0)) return std::nullopt;
    return rows[0].text(0);
}

std::vector<std::int64_t> SqlStore::pushDevicesOf(const std::vector<I>& users) {
    std::vector<I> out;
    for (I u : users) {
        for (I d : ids("SELECT id FROM devices WHERE current_user_id = $1 AND push_token IS NOT NULL",
                       {u}))
            out.push_back(d);
    }
    return out;
}

void SqlStore::addContact(I user, I contact) {
    db_.query("INSERT INTO contacts (user_id, contact_id) VALUES ($1, $2) ON CONFLICT DO NOTHING",
              {user, contact});
}

void SqlStore::removeContact(I user, I contact) {
    db_.query("DELETE FROM contacts WHERE user_id = $1 AND contact_id = $2", {user, contact});
}

std::vector<UserRow> SqlStore::contacts(I user) {
    return userList(
        "SELECT {USER} FROM contacts c JOIN users u ON u.id = c.contact_id WHERE c.user_id = $1 "
        "ORDER BY u.display_name, u.id",
        {user});
}

bool SqlStore::acquainted(I user, I other) {
    return !db_.query(
                   "SELECT 1 FROM contacts WHERE (user_id = $1 AND contact_id = $2) OR "
                   "(user_id = $2 AND contact_id = $1) UNION ALL SELECT 1 FROM members a JOIN "
                   "members b ON a.group_id = b.group_id WHERE a.user_id = $1 AND b.user_id = $2",
                   {user, other})
                .empty();
}

std::int64_t SqlStore::addMessage(I from, I to, const std::string& text, I now) {
    return db_
        .query("INSERT INTO messages (from_user, to_user, text, sent) VALUES ($1, $2, $3, $4) "
               "RETURNING id",
               {from, to, text, now})
        .at(0)
        .integer(0);
}

std::vector<MessageRow> SqlStore::conversation(I user, I other, I limit) {
    std::vector<MessageRow> out;
    for (const auto& r : db_.query(
             "SELECT id, from_user, to_user, text, sent FROM messages WHERE (from_user = $1 AND "
             "to_user = $2) OR (from_user = $2 AND to_user = $1) ORDER BY id DESC LIMIT $3",
             {user, other, limit}))
        out.push_back({r.integer(0), r.integer(1), r.integer(2), r.text(3), r.integer(4)});
    return out;
}

I SqlStore::logSms(I user, const std::string& target, I now) {
    return db_.query("INSERT INTO sms_log (user_id, target, sent) VALUES ($1, $2, $3) RETURNING id",
                     {user, target, now})
        .at(0)
        .integer(0);
}

void SqlStore::forgetSms(I attempt) { db_.query("DELETE FROM sms_log WHERE id = $1", {attempt}); }

std::int64_t SqlStore::smsCountByUser(I user, I since) {
    return db_.query("SELECT COUNT(*) FROM sms_log WHERE user_id = $1 AND sent >= $2", {user, since})
        .at(0)
        .integer(0);
}

std::int64_t SqlStore::smsCountByTarget(const std::string& target, I since) {
    return db_.query("SELECT COUNT(*) FROM sms_log WHERE target = $1 AND sent >= $2", {target, since})
        .at(0)
        .integer(0);
}

void SqlStore::savePhoneCode(I user, const std::string& target, const std::string& codeHash, I now) {
    db_.query("INSERT INTO phone_codes (user_id, target, code_hash, sent, tries) VALUES ($1, $2, $3, $4, 0) "
              "ON CONFLICT (user_id, target) DO UPDATE SET code_hash = excluded.code_hash, "
              "sent = excluded.sent, tries = 0",
              {user, target, codeHash, now});
}

std::optional<std::string> SqlStore::tryPhoneCode(I user, const std::string& target, I since, I maxTries) {
    // One statement counts the try and reads the hash, so concurrent tries cannot overtake the limit.
    const auto rows = db_.query("UPDATE phone_codes SET tries = tries + 1 WHERE user_id = $1 AND target = $2 "
                                "AND sent >= $3 AND tries < $4 RETURNING code_hash",
                                {user, target, since, maxTries});
    if (rows.empty()) return std::nullopt;
    return rows[0].text(0);
}

void SqlStore::forgetPhoneCode(I user, const std::string& target) {
    db_.query("DELETE FROM phone_codes WHERE user_id = $1 AND target = $2", {user, target});
}

I SqlStore::failuresSince(const std::string& key, I since) {
    return db_.query("SELECT COUNT(*) FROM failures WHERE key = $1 AND at >= $2", {key, since})
        .at(0)
        .integer(0);
}

I SqlStore::recordFailure(const std::string& key, I now, I forgetBefore) {
    db_.query("DELETE FROM failures WHERE at < $1", {forgetBefore});
    return db_.query("INSERT INTO failures (key, at) VALUES ($1, $2) RETURNING id", {key, now}).at(0).integer(0);
}

void SqlStore::forgetFailure(I record) { db_.query("DELETE FROM failures WHERE id = $1", {record}); }

void SqlStore::lockKey(const std::string& key) {
    // SQLite has one writer at a time, and this process's DB worker is it.
    if (db_.dialect() != "postgresql") return;
    db_.query("SELECT 1 FROM (SELECT pg_advisory_xact_lock(hashtext($1))) AS locked", {key});
}

void SqlStore::publishPush(const std::vector<I>& devices, const std::string& payload) {
    if (devices.empty()) return;
    db_.notify(nlohmann::json{{"d", devices}, {"p", payload}}.dump());
}

std::string SqlStore::setting(const std::string& name, const std::string& valueIfAbsent) {
    db_.query("INSERT INTO settings (name, value) VALUES ($1, $2) ON CONFLICT (name) DO NOTHING",
              {name, valueIfAbsent});
    return db_.query("SELECT value FROM settings WHERE name = $1", {name}).at(0).text(0);
}

}  // namespace kelpa::server
