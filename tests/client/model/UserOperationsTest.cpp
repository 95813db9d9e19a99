// The signed-in user's lists: the cached-list rule of contacts and groups, the joined group
// settled by the groups load, the uncached lists, and the self guards.
#include "ModelFixture.h"

#include "client/model/Message.h"
#include "client/model/Position.h"

#include <functional>

using namespace kelpa;
using namespace kelpa::testing;

namespace {

std::vector<std::string> ids(const std::optional<RecordList<User>>& users) {
    std::vector<std::string> result;
    if (users) {
        for (const auto& user : *users) result.push_back(user->userID.value_or("?"));
    }
    return result;
}
std::vector<std::string> ids(const std::optional<RecordList<Group>>& groups) {
    std::vector<std::string> result;
    if (groups) {
        for (const auto& group : *groups) result.push_back(group->groupID.value_or("?"));
    }
    return result;
}

// One cached list of the user, seen through the same questions.
struct CachedList {
    const char* name;
    int action;
    std::function<json(std::vector<std::string>)> reply;  // a reply carrying records with these ids
    json wrongShape;
    std::function<void(User&, std::optional<std::vector<std::string>>)> setCache;
    std::function<std::optional<std::vector<std::string>>(User&)> cache;
    // Calls the operation; its deliveries as (ids or none, error, synchronous).
    std::function<void(User&, bool reloading, std::vector<std::tuple<std::optional<std::vector<std::string>>, Info, bool>>&)> call;
};

template <class T>
void callInto(std::function<void(ListHandler<T>)> operation,
              std::vector<std::tuple<std::optional<std::vector<std::string>>, Info, bool>>& out) {
    auto returned = std::make_shared<bool>(false);
    operation([&out, returned](std::optional<RecordList<T>> list, Info error) {
        std::optional<std::vector<std::string>> got;
        if (list) got = ids(list);
        out.emplace_back(got, error, !*returned);
    });
    *returned = true;
}

const CachedList kContacts{
    "contacts", 501,
    [](std::vector<std::string> users) {
        json list = json::array();
        for (const auto& id : users) list.push_back(userJSON(id));
        return json{{"Contacts", list}};
    },
    json::array({userJSON("8")}),  // a bare list where an object is expected
    [](User& u, std::optional<std::vector<std::string>> cached) {
        if (!cached) return u.contacts.reset();
        u.contacts.emplace();
        for (const auto& id : *cached) u.contacts->push_back(User::initWithJSON(userJSON(id)));
    },
    [](User& u) { return u.contacts ? std::optional(ids(u.contacts)) : std::nullopt; },
    [](User& u, bool reloading, auto& out) {
        callInto<User>([&](ListHandler<User> h) { u.getContactsWithCompletitionHandler(h, reloading); }, out);
    }};

const CachedList kGroups{
    "groups", 301,
    [](std::vector<std::string> groups) {
        json list = json::array();
        for (const auto& id : groups) list.push_back(groupJSON(id));
        return list;
    },
    json{{"code", 1}, {"info", "who are you"}},  // an envelope where a list is expected
    [](User& u, std::optional<std::vector<std::string>> cached) {
        if (!cached) return u.groups.reset();
        u.groups.emplace();
        for (const auto& id : *cached) u.groups->push_back(Group::initWithJSON(groupJSON(id)));
    },
    [](User& u) { return u.groups ? std::optional(ids(u.groups)) : std::nullopt; },
    [](User& u, bool reloading, auto& out) {
        callInto<Group>([&](ListHandler<Group> h) { u.getGroupsWithCompletitionHandler(h, reloading); }, out);
    }};

TEST(CachedLists, FollowTheCacheRuleForContactsAndGroups) {
    using Ids = std::optional<std::vector<std::string>>;
    using Delivery = std::tuple<Ids, Info, bool>;
    enum class Answer { fresh, none, wrongShape };
    struct Case {
        const char* name;
        Ids cache;
        bool reloading;
        Answer answer;
        size_t requests;
        std::vector<Delivery> deliveries;
        Ids cacheAfter;
    };
    const std::vector<std::string> held{"1", "2"};
    const std::vector<std::string> fresh{"3"};
    const Case cases[] = {
        {"held, not reloading", held, false, Answer::fresh, 0, {{held, {}, true}}, held},
        {"empty is a cache too", std::vector<std::string>{}, false, Answer::fresh, 0,
         {{std::vector<std::string>{}, {}, true}}, std::vector<std::string>{}},
        {"unset, not reloading", std::nullopt, false, Answer::fresh, 1, {{fresh, {}, false}}, fresh},
        {"unset, no reply", std::nullopt, false, Answer::none, 1, {{std::nullopt, "Unknown Error", false}},
         std::nullopt},
        {"held, reloading", held, true, Answer::fresh, 1, {{held, {}, true}, {fresh, {}, false}}, fresh},
        {"held, reloading, no reply", held, true, Answer::none, 1,
         {{held, {}, true}, {std::nullopt, "Unknown Error", false}}, held},
        {"held, reloading, wrong shape", held, true, Answer::wrongShape, 1,
         {{held, {}, true}, {std::nullopt, "Unknown Error", false}}, held},
        {"unset, reloading", std::nullopt, true, Answer::fresh, 1, {{fresh, {}, false}}, fresh},
    };
    for (const auto* list : {&kContacts, &kGroups}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(list->name) + ": " + c.name);
            SignedIn w;
            list->setCache(*w.me, c.cache);
            if (c.answer == Answer::fresh) w.t.http().queueJSONForAction(list->action, list->reply(fresh));
            if (c.answer == Answer::wrongShape) w.t.http().queueJSONForAction(list->action, list->wrongShape);
            std::vector<Delivery> deliveries;
            list->call(*w.me, c.reloading, deliveries);
            w.t.settle();
            EXPECT_EQ(deliveries, c.deliveries);
            EXPECT_EQ(w.t.http().count(), c.requests);
            EXPECT_EQ(list->cache(*w.me), c.cacheAfter);
            if (c.requests) {
                EXPECT_EQ(ownFields(w.sent(list->action).at(0)).size(), 1u);  // the action alone
                EXPECT_EQ(FakeHttpClient::field(w.sent(list->action).at(0), "userID"), "5");
            }
        }
    }
}

TEST(CachedLists, AnEmptyListOnceLoadedIsNotFetchedAgain) {
    SignedIn w;
    w.t.http().queueJSONForAction(501, {{"Contacts", json::array()}});
    ListCalls<User> first, second;
    w.me->getContactsWithCompletitionHandler(first.handler());
    w.t.settle();
    second.returned = false;
    w.me->getContactsWithCompletitionHandler(second.handler());
    second.returned = true;
    ASSERT_EQ(second.calls.size(), 1u);
    EXPECT_TRUE(second.calls[0].synchronous);
    EXPECT_EQ(second.calls[0].list->size(), 0u);
    EXPECT_EQ(w.t.http().count(), 1u);
}

TEST(GroupsLoad, SettlesTheJoinedGroupLastJoinedWins) {
    struct Case {
        const char* name;
        std::optional<json> reply;
        std::optional<std::string> joinedAfter;  // "old" for the group joined before
    };
    const Case cases[] = {
        {"two joined, the later wins",
         json::array({groupJSON("1", {memberJSON("5", "1", true)}), groupJSON("2", {memberJSON("5", "2", false)}),
                      groupJSON("3", {memberJSON("5", "3", true)})}),
         "3"},
        {"joined to none clears it", json::array({groupJSON("1", {memberJSON("5", "1", false), memberJSON("6", "1", true)})}),
         std::nullopt},
        {"an empty list clears it", json::array(), std::nullopt},
        {"no reply leaves it", std::nullopt, "old"},
        {"an envelope leaves it", json{{"code", 1}, {"info", "x"}}, "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SignedIn w;
        auto old = Group::initWithJSON(groupJSON("old"));
        Group::setJoinedGroup(old);
        if (c.reply) w.t.http().queueJSONForAction(301, *c.reply);
        Info seenJoinedInHandler;
        w.me->getGroupsWithCompletitionHandler([&](auto, Info) {
            auto joined = Group::getJoinedGroup();
            seenJoinedInHandler = joined ? joined->groupID : std::nullopt;
        });
        w.t.settle();
        auto joined = Group::getJoinedGroup();
        EXPECT_EQ(joined ? joined->groupID : std::nullopt, c.joinedAfter);
        EXPECT_EQ(seenJoinedInHandler, c.joinedAfter);  // settled before the handler runs
        if (joined && c.joinedAfter != "old") {
            EXPECT_EQ(joined, w.me->groups->back());  // the cached record itself
        }
    }
}

TEST(AddressBookMatch, ReplacesTheContactCache) {
    SignedIn w;
    kContacts.setCache(*w.me, std::vector<std::string>{"1"});
    w.t.http().queueJSONForAction(111, json::array({userJSON("7"), userJSON("8")}));
    ListCalls<User> matched;
    w.me->getContactsUsingKelpaFromOwnAdressbook("+49301,+49302", matched.handler());
    w.t.settle();
    ASSERT_EQ(matched.calls.size(), 1u);
    EXPECT_EQ(ids(matched.calls[0].list), (std::vector<std::string>{"7", "8"}));
    EXPECT_EQ(ownFields(w.sent(111).at(0)),
              (std::vector<std::pair<std::string, std::string>>{{"action", "111"}, {"Numbers", "+49301,+49302"}}));

    ListCalls<User> later;
    w.me->getContactsWithCompletitionHandler(later.handler());
    ASSERT_EQ(later.calls.size(), 1u);
    EXPECT_EQ(ids(later.calls[0].list), (std::vector<std::string>{"7", "8"}));
    EXPECT_EQ(w.t.http().count(), 1u);

    // No reply: its own error text, and the cache stays.
    ListCalls<User> failed;
    w.me->getContactsUsingKelpaFromOwnAdressbook("+49303", failed.handler());
    w.t.settle();
    ASSERT_EQ(failed.calls.size(), 1u);
    EXPECT_FALSE(failed.calls[0].list);
    EXPECT_EQ(failed.calls[0].error, "no contacts found");
    EXPECT_EQ(ids(w.me->contacts), (std::vector<std::string>{"7", "8"}));
}

// Lists that are never cached: what each sends and which error text it gives.
TEST(UncachedLists, SendTheirFieldsAndReportTheirOwnErrorText) {
    struct Case {
        const char* name;
        int action;
        std::vector<std::pair<std::string, std::string>> fields;
        json reply;       // a good reply
        json wrongShape;  // counts as no reply
        std::string error;
        // Calls the operation; reports (count of records or -1 for none, error).
        std::function<void(SignedIn&, std::function<void(int, Info)>)> call;
    };
    auto other = User::initWithJSON(userJSON("9"));
    auto group = Group::initWithJSON(groupJSON("17"));
    const Case cases[] = {
        {"getAllAvailableUsers", 107, {}, json::array({userJSON("1"), userJSON("2")}), json{{"code", 1}, {"info", "x"}},
         "Unknown Error",
         [](SignedIn& w, auto done) {
             w.me->getAllAvailableUsers([done](auto list, Info e) { done(list ? int(list->size()) : -1, e); });
         }},
        {"getMessagesWithUser", 601, {{"toUserID", "9"}},
         json::array({{{"messageID", 1}, {"text", "hi"}, {"fromUserID", "9"}}}), json::object(), "Unknown error",
         [other](SignedIn& w, auto done) {
             w.me->getMessagesWithUser(other, [done](auto list, Info e) { done(list ? int(list->size()) : -1, e); });
         }},
        {"loadPositions", 201, {{"groupID", "17"}}, json::array({{{"deviceID", "D5"}, {"lati", 1}, {"longi", 2}}}),
         json{{"Positions", json::array()}}, "Unknown Error",
         [group](SignedIn&, auto done) {
             group->loadPositionsWithCompletitionHandler(
                 [done](auto list, Info e) { done(list ? int(list->size()) : -1, e); });
         }},
        {"getUserFromID", 114, {{"loadID", "9"}}, userJSON("9"), json::array({userJSON("9")}), "Unknown Error",
         [](SignedIn&, auto done) {
             User::getUserFromID("9", [done](auto user, Info e) { done(user ? 1 : -1, e); });
         }},
        {"getGroupFromID", 312, {{"loadID", "17"}}, groupJSON("17"), json{{"code", 1}}, "Unknown Error",
         [](SignedIn&, auto done) {
             Group::getGroupFromID("17", [done](auto group, Info e) { done(group ? 1 : -1, e); });
         }},
    };
    for (const auto& c : cases) {
        for (int variant = 0; variant < 3; ++variant) {
            SCOPED_TRACE(std::string(c.name) + " variant " + std::to_string(variant));
            SignedIn w;
            if (variant == 0) w.t.http().queueJSONForAction(c.action, c.reply);
            if (variant == 2) w.t.http().queueJSONForAction(c.action, c.wrongShape);
            std::vector<std::tuple<int, Info, bool>> got;
            c.call(w, [&](int n, Info e) { got.emplace_back(n, e, w.t.loop().isMainThread()); });
            w.t.settle();
            ASSERT_EQ(got.size(), 1u);
            if (variant == 0) {
                EXPECT_GT(std::get<0>(got[0]), 0);
                EXPECT_EQ(std::get<1>(got[0]), std::nullopt);
            } else {
                EXPECT_EQ(std::get<0>(got[0]), -1);
                EXPECT_EQ(std::get<1>(got[0]), c.error);
            }
            EXPECT_TRUE(std::get<2>(got[0]));
            auto fields = ownFields(w.sent(c.action).at(0));
            fields.erase(fields.begin());
            EXPECT_EQ(fields, c.fields);
            EXPECT_EQ(FakeHttpClient::field(w.sent(c.action).at(0), "userID"), "5");
            EXPECT_EQ(w.t.http().count(), 1u);
        }
    }
    EXPECT_FALSE(group->members->size());  // positions are not kept on the group
}

// A one-object load refused by the service: an envelope is never taken for the record, and
// the service's reason reaches the caller when it gave one.
TEST(OneObjectLoads, EnvelopesAreRefusalsWithTheServiceReason) {
    struct Case {
        json reply;
        Info error;
    };
    const Case cases[] = {
        {json{{"code", 1}}, "Unknown Error"},
        {json{{"code", 0}}, "Unknown Error"},
        {json{{"code", 1}, {"info", "not a member"}}, "not a member"},
        {json{{"info", "gone"}}, "gone"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.dump());
        SignedIn w;
        w.t.http().queueJSONForAction(312, c.reply);
        w.t.http().queueJSONForAction(114, c.reply);
        std::vector<std::pair<bool, Info>> got;
        Group::getGroupFromID("17", [&](auto group, Info e) { got.emplace_back(bool(group), e); });
        User::getUserFromID("9", [&](auto user, Info e) { got.emplace_back(bool(user), e); });
        w.t.settle();
        ASSERT_EQ(got.size(), 2u);
        for (const auto& [built, error] : got) {
            EXPECT_FALSE(built);
            EXPECT_EQ(error, c.error);
        }
    }
}

TEST(UncachedLists, RecordsComeInReplyOrderAndAreNotCached) {
    SignedIn w;
    w.t.http().queueJSONForAction(601, json::array({{{"messageID", 12}, {"text", "a"}, {"fromUserID", "9"}},
                                                    {{"messageID", "13"}, {"text", "b"}, {"fromUserID", "5"}}}));
    std::vector<std::string> messageIDs;
    w.me->getMessagesWithUser(User::initWithJSON(userJSON("9")), [&](std::optional<RecordList<Message>> list, Info) {
        for (const auto& m : list.value_or(RecordList<Message>{})) messageIDs.push_back(m->messageID);
    });
    w.t.http().queueJSONForAction(107, json::array({userJSON("2"), userJSON("1")}));
    std::vector<std::string> userIDs;
    w.me->getAllAvailableUsers([&](auto list, Info) { userIDs = ids(list); });
    w.t.settle();
    EXPECT_EQ(messageIDs, (std::vector<std::string>{"12", "13"}));
    EXPECT_EQ(userIDs, (std::vector<std::string>{"2", "1"}));
    EXPECT_FALSE(w.me->contacts);
    EXPECT_FALSE(w.me->groups);
}

TEST(SelfGuards, AddingOrRemovingOneselfFailsAtOnceAndSendsNothing) {
    SignedIn w;
    StatusCalls add, remove;
    w.me->addContact("5", add.handler(w.t));
    w.me->removeContact(User::initWithJSON(userJSON("5")), remove.handler(w.t));
    // Synchronous: the calls are there before the loop ran.
    ASSERT_EQ(add.calls.size(), 1u);
    ASSERT_EQ(remove.calls.size(), 1u);
    EXPECT_EQ(add.calls[0].code, 1);
    EXPECT_EQ(add.calls[0].info, "Cannot add self");
    EXPECT_EQ(remove.calls[0].code, 1);
    EXPECT_EQ(remove.calls[0].info, "cannot delete self");
    w.t.settle();
    EXPECT_EQ(w.t.http().count(), 0u);
    EXPECT_EQ(add.calls.size(), 1u);

    // The comparison is of the exact text.
    w.me->addContact("05", nullptr);
    w.t.settle();
    EXPECT_EQ(w.countOf(500), 1u);
}

TEST(ContactChanges, RefusalStartsNoReload) {
    SignedIn w;
    w.t.http().queueJSONForAction(500, {{"code", 1}, {"info", "unknown user"}});
    w.me->addContact("9", nullptr);
    w.t.settle();
    EXPECT_EQ(w.countOf(501), 0u);
}

TEST(ContactChanges, TheReloadReplacesTheCacheBeforeLaterReads) {
    SignedIn w;
    kContacts.setCache(*w.me, std::vector<std::string>{"1"});
    w.t.http().queueJSONForAction(500, {{"code", 0}});
    w.t.http().queueJSONForAction(501, kContacts.reply({"1", "9"}));
    StatusCalls added;
    w.me->addContact("9", added.handler(w.t));
    w.t.settle();
    EXPECT_EQ(added.calls, (std::vector<StatusCalls::Call>{{0, std::nullopt, true}}));
    EXPECT_EQ(ids(w.me->contacts), (std::vector<std::string>{"1", "9"}));
}

TEST(SocialType, HasItsText) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {-1, "email"}, {0, "facebook"}, {1, "twitter"}, {5, "UNDEFINED"}, {-2, "UNDEFINED"}};
    for (const auto& [type, text] : cases) {
        User user;
        user.socialType = type;
        EXPECT_EQ(user.getSocialTypeAsString(), text) << type;
    }
}

}  // namespace
