#pragma once

#include "server/store/Database.h"
#include "server/store/Store.h"

namespace kelpa::server {

// The Store on any SQL engine behind Database; the statements are written in the common
// subset of SQLite and PostgreSQL.
class SqlStore : public Store {
public:
    explicit SqlStore(Database& db);

    std::optional<Credential> credentialByEmail(const std::string& email) override;
    std::optional<std::int64_t> createEmailUser(const std::string& email,
                                                const std::string& passwordHash,
                                                const std::string& displayName,
                                                std::int64_t now) override;
    std::optional<std::int64_t> userBySocial(int type, const std::string& socialId) override;
    std::optional<std::int64_t> createSocialUser(int type, const std::string& socialId,
                                                 const std::string& displayName,
                                                 std::int64_t now) override;
    std::optional<UserRow> user(std::int64_t id) override;
    std::vector<UserRow> users(std::int64_t limit) override;
    std::vector<UserRow> usersByPhone(const std::string& number) override;
    void setDisplayName(std::int64_t user, const std::string& name) override;
    void setVerifiedPhoneNumber(std::int64_t user, const std::string& number) override;
    bool hasVerifiedPhone(std::int64_t user) override;
    void setRegistrationCompleted(std::int64_t user, bool completed) override;

    std::int64_t ensureDevice(const std::string& deviceKey) override;
    std::optional<std::int64_t> deviceByKey(const std::string& deviceKey) override;
    void bindDevice(std::int64_t user, std::int64_t device, std::int64_t now,
                    int maxDevices) override;
    BindingCheck checkBinding(std::int64_t user, const std::string& deviceKey, const std::string& failureKey,
                              std::int64_t since) override;
    void setPushToken(std::int64_t device, const std::string& token) override;
    std::optional<std::string> pushToken(std::int64_t device) override;
    std::vector<std::int64_t> pushDevicesOf(const std::vector<std::int64_t>& users) override;

    void addContact(std::int64_t user, std::int64_t contact) override;
    void removeContact(std::int64_t user, std::int64_t contact) override;
    std::vector<UserRow> contacts(std::int64_t user) override;
    bool acquainted(std::int64_t user, std::int64_t other) override;
    std::int64_t addMessage(std::int64_t from, std::int64_t to, const std::string& text,
                            std::int64_t now) override;
    std::vector<MessageRow> conversation(std::int64_t user, std::int64_t other,
                                         std::int64_t limit) override;

    std::int64_t logSms(std::int64_t user, const std::string& target, std::int64_t now) override;
    void forgetSms(std::int64_t attempt) override;
    std::int64_t smsCountByUser(std::int64_t user, std::int64_t since) override;
    std::int64_t smsCountByTarget(const std::string& target, std::int64_t since) override;
    void savePhoneCode(std::int64_t user, const std::string& target, const std::string& codeHash,
                       std::int64_t now) override;
    std::optional<std::string> tryPhoneCode(std::int64_t user, const std::string& target, std::int64_t since,
                                            std::int64_t maxTries) override;
    void forgetPhoneCode(std::int64_t user, const std::string& target) override;

    std::int64_t failuresSince(const std::string& key, std::int64_t since) override;
    std::int64_t recordFailure(const std::string& key, std::int64_t now, std::int64_t forgetBefore) override;
    void forgetFailure(std::int64_t record) override;
    void lockKey(const std::string& key) override;

    bool wordsInUse(const std::string& one, const std::string& two, std::int64_t now) override;
    std::int64_t createGroup(const GroupRow& group) override;
    std::optional<GroupRow> group(std::int64_t id) override;
    std::optional<std::int64_t> openGroupByWords(const std::string& one, const std::string& two,
                                                 std::int64_t now) override;
    std::vector<GroupRow> groupsOf(std::int64_t user) override;
    void deleteGroup(std::int64_t id) override;

    std::optional<MemberRow> member(std::int64_t group, std::int64_t user) override;
    std::vector<MemberRow> members(std::int64_t group, std::int64_t now) override;
    std::vector<std::int64_t> memberIds(std::int64_t group) override;
    std::vector<std::int64_t> leaderIds(std::int64_t group) override;
    void addMember(std::int64_t group, std::int64_t user, bool leader) override;
    void removeMember(std::int64_t group, std::int64_t user) override;
    std::optional<std::int64_t> joinedGroupOf(std::int64_t user) override;
    void setJoined(std::int64_t group, std::int64_t user, std::int64_t device,
                   std::int64_t now) override;
    void clearJoined(std::int64_t group, std::int64_t user) override;
    bool reportPosition(std::int64_t user, std::int64_t device, double lati, double longi,
                        std::int64_t now) override;
    std::vector<PositionRow> positions(std::int64_t group, std::int64_t now) override;
    std::int64_t purgeEndedPositions(std::int64_t now) override;

    std::int64_t addWaypoint(const WaypointRow& waypoint) override;
    std::vector<WaypointRow> waypoints(std::int64_t group) override;
    std::int64_t waypointCount(std::int64_t group) override;

    void publishPush(const std::vector<std::int64_t>& devices, const std::string& payload) override;
    std::string setting(const std::string& name, const std::string& valueIfAbsent) override;

private:
    std::vector<std::int64_t> ids(std::string_view sql, const std::vector<SqlParam>& params);
    std::vector<UserRow> userList(std::string_view sql, const std::vector<SqlParam>& params);

    Database& db_;
};

}  // namespace kelpa::server
