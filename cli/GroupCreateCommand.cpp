#include "cli/GroupCreateCommand.h"

#include "cli/Arguments.h"
#include "cli/Invocation.h"
#include "cli/RecordJson.h"
#include "cli/Run.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"
#include "platform/Environment.h"
#include "platform/MainQueue.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

namespace kelpa::cli {

namespace {
struct CreateOptions {
    bool adhoc = false;
    std::string description;
    std::string mode = "car";
    std::string start = "now";
    std::string end;
    std::vector<std::string> invite;
    std::vector<std::string> waypoints;
};

// What the options describe, checked before anything is sent.
struct Plan {
    bool adhoc = false;
    std::shared_ptr<Group> group = std::make_shared<Group>();
    RecordList<User> users;
    RecordList<Waypoint> waypoints;
};

Plan plan(const CreateOptions& options) {
    Plan plan;
    plan.adhoc = options.adhoc;
    if (options.adhoc) return plan;
    if (options.description.empty()) throw CLI::ValidationError("--description", "is required without --adhoc");
    auto mode = Arguments::travelMode(options.mode);
    if (!mode) throw CLI::ValidationError("--mode", "must be car, bike or pedestrian, not " + options.mode);
    const auto now = platform::Environment::current()->mainQueue->now();
    auto start = Arguments::dateTime(options.start, now);
    if (!start) throw CLI::ValidationError("--start", "must be YYYY-MM-DDTHH:MM:SS, now or +N[smhd]");
    // Without an end the group lasts one day.
    auto end = options.end.empty() ? std::optional<Date>(*start + std::chrono::hours(24))
                                   : Arguments::dateTime(options.end, now);
    if (!end) throw CLI::ValidationError("--end", "must be YYYY-MM-DDTHH:MM:SS, now or +N[smhd]");
    if (*end <= *start) throw CLI::ValidationError("--end", "must be after the start");

    plan.group->jDescription = options.description;
    plan.group->GroupType = *mode;
    plan.group->startTime = start;
    plan.group->endTime = end;
    for (const auto& userID : options.invite) {
        if (userID.empty()) throw CLI::ValidationError("--invite", "needs user identifiers");
        auto user = std::make_shared<User>();
        user->userID = userID;
        plan.users.push_back(std::move(user));
    }
    for (const auto& text : options.waypoints) {
        auto point = Arguments::coordinate(text);
        if (!point) throw CLI::ValidationError("--waypoint", "must be LAT,LON in degrees, not " + text);
        auto waypoint = std::make_shared<Waypoint>();
        waypoint->lati = point->latitude;
        waypoint->longi = point->longitude;
        waypoint->number = static_cast<double>(plan.waypoints.size() + 1);  // the route keeps this order
        plan.waypoints.push_back(std::move(waypoint));
    }
    return plan;
}

void create(Run& run, const Plan& plan) {
    auto group = plan.group;
    auto done = [&run, group](std::int32_t code, Info wordOne, Info wordTwo, Info info) {
        if (code != 0 || info) return run.failStatus(code, info, "creating the group failed");
        const auto id = group->groupID.value_or("-");
        run.succeed({{"ok", true},
                     {"groupID", id},
                     {"wordOne", wordOne ? nlohmann::json(*wordOne) : nullptr},
                     {"wordTwo", wordTwo ? nlohmann::json(*wordTwo) : nullptr},
                     {"group", RecordJson::group(*group)}},
                    fmt::format("created group {} ({})\nsecret words: {} {}", id, group->jDescription.value_or("-"),
                                wordOne.value_or("-"), wordTwo.value_or("-")));
    };
    if (plan.adhoc) {
        Group::newAdhocGroup(group, done);
    } else {
        Group::newGroup(group, plan.users, plan.waypoints, done);
    }
}
}  // namespace

void GroupCreateCommand::add(CLI::App& group, Invocation& chosen) {
    auto options = std::make_shared<CreateOptions>();
    auto* sub = group.add_subcommand("create", "Create a group and print its two secret words");
    auto* adhoc = sub->add_flag("--adhoc", options->adhoc, "An ad hoc car group open for a year from now");
    auto others = {
        sub->add_option("--description", options->description, "What the group is for (required without --adhoc)"),
        sub->add_option("--mode", options->mode, "car (default), bike or pedestrian"),
        sub->add_option("--start", options->start, "Start: YYYY-MM-DDTHH:MM:SS local time, now (default) or +N[smhd]"),
        sub->add_option("--end", options->end, "End, like --start; default one day after the start"),
        sub->add_option("--invite", options->invite, "User identifiers to invite")->expected(1, -1),
        sub->add_option("--waypoint", options->waypoints, "Route points LAT,LON in order")->expected(1, -1),
    };
    for (auto* option : others) adhoc->excludes(option);
    sub->callback([&chosen, options] {
        auto checked = std::make_shared<Plan>(plan(*options));
        chosen.set(true, [checked](Run& run, std::shared_ptr<User>) { create(run, *checked); });
    });
}

}  // namespace kelpa::cli
