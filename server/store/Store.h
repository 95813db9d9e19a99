#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/store/Credential.h"
#include "server/store/GroupRow.h"
#include "server/store/MemberRow.h"
#include "server/store/MessageRow.h"
#include "server/store/PositionRow.h"
#include "server/store/UserRow.h"
#include "server/store/WaypointRow.h"

namespace kelpa::server {

// Everything the actions read and write. Calls run inside the transaction the DbWorker
// opened; an exception undoes the calling action's changes. Times are civil seconds.
class Store {
public:
    virtual ~Store() = default;

    // Accounts
    virtual std::optional<Credential> credentialByEmail(const std::string& email) = 0;
    virtual std::optional<std::int64_t> createEmailUser(const std::string& email,
                                                        const std::string& passwordHash,
                                                        const std::string& displayName,
                                                        std::int64_t now) = 0;
    virtual std::optional<std::int64_t> userBySocial(int type, const std::string& socialId) = 0;
    virtual std::optional<std::int64_t> createSocialUser(int type, const std::string& socialId,
                                                         const std::string& displayName,
                                                         std::int64_t now) = 0;

    // Users
    virtual std::optional<UserRow> user(std::int64_t id) = 0;
    virtual std::vector<UserRow> users(std::int64_t limit) = 0;
    // Users whose verified phone number is this one.
    virtual std::vector<UserRow> usersByPhone(const std::string& number) = 0;
    virtual void setDisplayName(std::int64_t user, const std::string& name) = 0;
    // Saves a number its owner proved with the texted code.
    virtual void setVerifiedPhoneNumber(std::int64_t user, const std::string& number) = 0;
    virtual bool hasVerifiedPhone(std::int64_t user) = 0;
    virtual void setRegistrationCompleted(std::int64_t user, bool completed) = 0;

    // Devices: identified by a keyed hash of the installation identifier.
    virtual std::int64_t ensureDevice(const std::string& deviceKey) = 0;
    virtual std::optional<std::int64_t> deviceByKey(const std::string& deviceKey) = 0;
    // Binds the device to the user and makes the user the device's current user; beyond
    // maxDevices the least recently used bindings of the user are dropped.
    virtual void bindDevice(std::int64_t user, std::int64_t device, std::int64_t now,
                            int maxDevices) = 0;
    // What every signed-in request checks, in one lookup: the device row of this key if it is
    // bound to the user, and how many failures were recorded under failureKey since `since`.
    struct BindingCheck {
        std::optional<std::int64_t> device;
        std::int64_t recentFailures = 0;
    };
    virtual BindingCheck checkBinding(std::int64_t user, const std::string& deviceKey,
                                      const std::string& failureKey, std::int64_t since) = 0;
    virtual void setPushToken(std::int64_t device, const std::string& token) = 0;
    virtual std::optional<std::string> pushToken(std::int64_t device) = 0;
    virtual std::vector<std::int64_t> pushDevicesOf(const std::vector<std::int64_t>& users) = 0;

    // Contacts and chat
    virtual void addContact(std::int64_t user, std::int64_t contact) = 0;
    virtual void removeContact(std::int64_t user, std::int64_t contact) = 0;
    virtual std::vector<UserRow> contacts(std::int64_t user) = 0;
    // True when either lists the other as a contact or both are in one group.
    virtual bool acquainted(std::int64_t user, std::int64_t other) = 0;
    virtual std::int64_t addMessage(std::int64_t from, std::int64_t to, const std::string& text,
                                    std::int64_t now) = 0;
    virtual std::vector<MessageRow> conversation(std::int64_t user, std::int64_t other,
                                                 std::int64_t limit) = 0;

    // Text messages
    // Records an attempt (it counts towards the limits at once) and returns its row.
    virtual std::int64_t logSms(std::int64_t user, const std::string& target, std::int64_t now) = 0;
    // Drops an attempt the gateway did not take: the number was not sent a code.
    virtual void forgetSms(std::int64_t attempt) = 0;
    virtual std::int64_t smsCountByUser(std::int64_t user, std::int64_t since) = 0;
    virtual std::int64_t smsCountByTarget(const std::string& target, std::int64_t since) = 0;
    // Keeps the hash of the code texted to the number for the user, replacing an earlier one.
    virtual void savePhoneCode(std::int64_t user, const std::string& target, const std::string& codeHash,
                               std::int64_t now) = 0;
    // Counts one try against the code texted since `since` and returns its hash; none when no
    // such code exists or its tries are used up.
    virtual std::optional<std::string> tryPhoneCode(std::int64_t user, const std::string& target,
                                                    std::int64_t since, std::int64_t maxTries) = 0;
    virtual void forgetPhoneCode(std::int64_t user, const std::string& target) = 0;

    // Failures (and counted attempts) that throttle guessing, by key; recording also forgets
    // those before `forgetBefore` and returns the new record.
    virtual std::int64_t failuresSince(const std::string& key, std::int64_t since) = 0;
    virtual std::int64_t recordFailure(const std::string& key, std::int64_t now, std::int64_t forgetBefore) = 0;
    virtual void forgetFailure(std::int64_t record) = 0;
    // Until the transaction ends, other transactions that lock the same key wait: a count
    // and the record it leads to then happen as one, across server processes too.
    virtual void lockKey(const std::string& key) = 0;

    // Groups
    virtual bool wordsInUse(const std::string& one, const std::string& two, std::int64_t now) = 0;
    virtual std::int64_t createGroup(const GroupRow& group) = 0;
    virtual std::optional<GroupRow> group(std::int64_t id) = 0;
    virtual std::optional<std::int64_t> openGroupByWords(const std::string& one,
                                                         const std::string& two,
                                                         std::int64_t now) = 0;
    virtual std::vector<GroupRow> groupsOf(std::int64_t user) = 0;
    virtual void deleteGroup(std::int64_t id) = 0;

    // Members
    virtual std::optional<MemberRow> member(std::int64_t group, std::int64_t user) = 0;
    // The group's members; their positions only while the group's window is open at `now`.
    virtual std::vector<MemberRow> members(std::int64_t group, std::int64_t now) = 0;
    virtual std::vector<std::int64_t> memberIds(std::int64_t group) = 0;
    virtual std::vector<std::int64_t> leaderIds(std::int64_t group) = 0;
    virtual void addMember(std::int64_t group, std::int64_t user, bool leader) = 0;
    virtual void removeMember(std::int64_t group, std::int64_t user) = 0;
    virtual std::optional<std::int64_t> joinedGroupOf(std::int64_t user) = 0;
    virtual void setJoined(std::int64_t group, std::int64_t user, std::int64_t device,
                           std::int64_t now) = 0;
    virtual void clearJoined(std::int64_t group, std::int64_t user) = 0;
    // Positions belong to the membership they were reported in: a member joining (again)
    // starts without one, leaving forgets it.
    // Stores the position of the user's membership joined with this device in a group whose
    // window is open; false (and nothing stored) when there is none.
    virtual bool reportPosition(std::int64_t user, std::int64_t device, double lati, double longi,
                                std::int64_t now) = 0;
    // The positions reported in the group by members joined now, while its window is open.
    virtual std::vector<PositionRow> positions(std::int64_t group, std::int64_t now) = 0;
    // Forgets the positions of groups whose window has ended; returns how many.
    virtual std::int64_t purgeEndedPositions(std::int64_t now) = 0;

    // Waypoints
    virtual std::int64_t addWaypoint(const WaypointRow& waypoint) = 0;
    virtual std::vector<WaypointRow> waypoints(std::int64_t group) = 0;
    virtual std::int64_t waypointCount(std::int64_t group) = 0;

    // Pushes: delivered to the devices only if the transaction commits.
    virtual void publishPush(const std::vector<std::int64_t>& devices,
                             const std::string& payload) = 0;

    // Service settings kept with the data, such as the device-key secret.
    virtual std::string setting(const std::string& name, const std::string& valueIfAbsent) = 0;
};

}  // namespace kelpa::server
