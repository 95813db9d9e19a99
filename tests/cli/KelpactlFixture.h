#pragma once

// Runs kelpactl in-process against the scripted transport on a virtual clock.
#include "TestEnvironment.h"
#include "cli/Application.h"
#include "cli/Console.h"
#include "client/model/Group.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/User.h"
#include "platform/Preferences.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kelpa::cli::test {

using json = nlohmann::json;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;

    json document() const {
        auto parsed = json::parse(out, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << "not one JSON document: " << out;
        return parsed;
    }
};

inline json userJSON(const std::string& id, const std::string& name) {
    return {{"userID", id}, {"displayName", name}, {"phoneNumber", "+49170" + id},
            {"registrationFromSocial", 0}, {"registrationCompleted", 1}};
}

// A member; with a device when joined.
inline json memberJSON(const std::string& userID, const std::string& name, const std::string& groupID, bool joined,
                       bool leader = false) {
    json member = {{"User", userJSON(userID, name)}, {"groupID", groupID}, {"isLeader", leader ? 1 : 0}};
    if (joined) {
        const std::string device = "DEV" + userID;
        member["Device"] = {{"deviceID", device},
                            {"Position", {{"deviceID", device}, {"lati", 47.0}, {"longi", 11.0},
                                          {"synchronized", "2026-03-02T08:55:00"}}}};
        member["joined"] = "2026-03-02T08:30:00";
    } else {
        member["Device"] = nullptr;
    }
    return member;
}

// A group open on the test day (2026-03-02, 08:00 to 20:00 local time).
inline json groupJSON(const std::string& id, int type, json members = json::array()) {
    return {{"groupID", id},
            {"description", "Trip " + id},
            {"created", "2026-03-01T10:00:00"},
            {"groupType", type},
            {"startTime", "2026-03-02T08:00:00"},
            {"endTime", "2026-03-02T20:00:00"},
            {"Members", std::move(members)},
            {"Waypoints", json::array({{{"waypointID", "W1"}, {"lati", 47.1}, {"longi", 11.2}, {"number", 1},
                                        {"groupID", id}}})}};
}

inline std::optional<std::string> field(const platform::FormEncoding::Fields& form, const std::string& key) {
    return platform::FakeHttpClient::field(form, key);
}

// One installation of kelpactl: its own environment, run in-process.
class Harness {
public:
    kelpa::testing::TestEnvironment t;
    // What the terminal prompt answers; none stands for no terminal.
    std::optional<std::string> typedPassword;

    Outcome run(const std::vector<std::string>& arguments, const std::string& input = "") {
        std::ostringstream out;
        std::ostringstream err;
        std::istringstream in(input);
        // Each run is a new process: nobody is signed in and no group is joined yet.
        User::setCurrentUser(nullptr);
        Group::setJoinedGroup(nullptr);
        auto typed = typedPassword;
        Console console(out, err, in, [typed](const std::string&) { return typed; });
        Outcome outcome;
        outcome.code = Application::run(arguments, console);
        outcome.out = out.str();
        outcome.err = err.str();
        return outcome;
    }

    // A stored user identifier that the service knows as Ann.
    void signedIn(const std::string& userID = "7") {
        t.env().preferences->set(KelpaDefaults::kUserIDKey, userID);
        t.http().queueJSONForAction(101, userJSON(userID, "Ann"));
    }

    std::filesystem::path writeFile(const std::string& name, const std::string& text) {
        auto path = t.home() / name;
        std::ofstream(path) << text;
        return path;
    }

    size_t requestsFor(int action) { return t.http().formsForAction(action).size(); }
};

class Kelpactl : public ::testing::Test, public Harness {};

}  // namespace kelpa::cli::test
