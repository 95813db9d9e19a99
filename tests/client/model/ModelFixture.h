#pragma once

#include "TestEnvironment.h"

#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/User.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::testing {

using json = nlohmann::json;
using platform::FakeHttpClient;

// What one completion handler saw, call by call.
struct StatusCalls {
    struct Call {
        std::int32_t code;
        Info info;
        bool onMain;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;

    StatusHandler handler(TestEnvironment& t) {
        return [this, &t](std::int32_t code, Info info) {
            calls.push_back({code, std::move(info), t.loop().isMainThread()});
        };
    }
};

template <class T>
struct ListCalls {
    struct Call {
        std::optional<RecordList<T>> list;
        Info error;
        bool synchronous;  // ran before the call returned
    };
    std::vector<Call> calls;
    bool returned = false;

    ListHandler<T> handler() {
        return [this](std::optional<RecordList<T>> list, Info error) {
            calls.push_back({std::move(list), std::move(error), !returned});
        };
    }
};

// The fields of a form besides the ones the transport adds, in order.
inline std::vector<std::pair<std::string, std::string>> ownFields(const platform::FormEncoding::Fields& form) {
    std::vector<std::pair<std::string, std::string>> fields;
    for (const auto& field : form) {
        if (field.first != "userID" && field.first != "deviceID") fields.push_back(field);
    }
    return fields;
}

inline json userJSON(const std::string& id, const std::string& name = "") {
    return {{"userID", id}, {"displayName", name.empty() ? "User " + id : name}};
}

// A member object: joined when it has a device and a "joined" time.
inline json memberJSON(const std::string& userID, const std::string& groupID, bool joined, bool leader = false) {
    json member = {{"User", userJSON(userID)}, {"groupID", groupID}, {"isLeader", leader}};
    if (joined) {
        member["Device"] = {{"deviceID", "D" + userID}};
        member["joined"] = "2026-03-02T08:00:00";
    } else {
        member["Device"] = nullptr;
    }
    return member;
}

inline json groupJSON(const std::string& groupID, json members = json::array()) {
    return {{"groupID", groupID}, {"description", "trip " + groupID}, {"groupType", 2}, {"Members", members},
            {"Waypoints", json::array()}};
}

// A fresh environment with user 5 ("Ann") signed in.
struct SignedIn {
    TestEnvironment t;
    std::shared_ptr<User> me;

    SignedIn() {
        me = User::initWithJSON(userJSON("5", "Ann"));
        User::setCurrentUser(me);
    }

    std::vector<platform::FormEncoding::Fields> sent(int action) { return t.http().formsForAction(action); }
    size_t countOf(int action) { return sent(action).size(); }
};

}  // namespace kelpa::testing
