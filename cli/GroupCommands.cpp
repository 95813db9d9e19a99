#include "cli/GroupCommands.h"

#include "cli/GroupCreateCommand.h"
#include "cli/Invocation.h"
#include "cli/RecordJson.h"
#include "cli/RecordText.h"
#include "cli/Run.h"
#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Position.h"
#include "client/model/User.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

namespace kelpa::cli {

namespace {
struct Targets {
    std::string groupID;
    std::string userID;
    std::string wordOne;
    std::string wordTwo;
};

// A record standing for a group known only by its identifier.
std::shared_ptr<Group> groupWithID(const std::string& groupID) {
    auto group = std::make_shared<Group>();
    group->groupID = groupID;
    return group;
}

std::string orNone(const Info& text, const char* fallback) { return text.value_or(fallback); }

void listGroups(Run& run, const std::shared_ptr<User>& user) {
    user->getGroupsWithCompletitionHandler([&run](std::optional<RecordList<Group>> groups, Info error) {
        if (!groups) return run.fail(orNone(error, "loading the groups failed"));
        auto joined = Group::getJoinedGroup();
        const auto joinedID = joined ? joined->groupID : std::nullopt;
        nlohmann::json list = nlohmann::json::array();
        std::string text;
        for (const auto& group : *groups) {
            const bool isJoined = joinedID && group->groupID == joinedID;
            auto entry = RecordJson::group(*group);
            entry["joined"] = isJoined;
            list.push_back(std::move(entry));
            text += RecordText::group(*group, isJoined) + "\n";
        }
        if (groups->empty()) text = "no groups";
        run.succeed({{"ok", true}, {"groups", list}, {"joinedGroupID", joinedID ? nlohmann::json(*joinedID) : nullptr}},
                    text);
    });
}

void showGroup(Run& run, const std::string& groupID) {
    GroupCommands::loadGroup(run, groupID, [&run](std::shared_ptr<Group> group) {
        run.succeed({{"ok", true}, {"group", RecordJson::group(*group, true)}}, RecordText::groupDetails(*group));
    });
}

void joinGroup(Run& run, const std::string& groupID) {
    GroupCommands::loadGroup(run, groupID, [&run](std::shared_ptr<Group> group) {
        GroupCommands::join(run, group, [&run, group] {
            run.succeed({{"ok", true}, {"groupID", *group->groupID}},
                        fmt::format("joined group {} ({})", *group->groupID, group->jDescription.value_or("-")));
        });
    });
}

void leaveGroup(Run& run, const std::string& groupID) {
    groupWithID(groupID)->unjoinWithCompletitionHandler([&run, groupID](std::int32_t code, Info info) {
        if (code != 0) return run.failStatus(code, info, "leaving the group failed");
        run.succeed({{"ok", true}, {"groupID", groupID}}, "left group " + groupID);
    });
}

void quickJoin(Run& run, const std::string& wordOne, const std::string& wordTwo) {
    Group::quickJoinWithWordOne(wordOne, wordTwo, [&run](std::int32_t code, Info info) {
        if (code != 0) return run.failStatus(code, info, "quick join failed");
        run.succeed({{"ok", true}}, "joined the group of these words");
    });
}

void listMembers(Run& run, const std::string& groupID) {
    groupWithID(groupID)->loadMembersWithCompletitionHandler(
        [&run, groupID](std::optional<RecordList<Member>> members, Info error) {
            if (!members) return run.fail(orNone(error, "loading the members failed"));
            nlohmann::json list = nlohmann::json::array();
            std::string text;
            for (const auto& member : *members) {
                list.push_back(RecordJson::member(*member));
                text += RecordText::member(*member) + "\n";
            }
            if (members->empty()) text = "no members";
            run.succeed({{"ok", true}, {"groupID", groupID}, {"members", list}}, text);
        });
}

void invite(Run& run, const std::string& groupID, const std::string& userID) {
    auto user = std::make_shared<User>();
    user->userID = userID;
    groupWithID(groupID)->inviteUser(user, [&run, groupID, userID](std::int32_t code, Info info) {
        if (code != 0) return run.failStatus(code, info, "the invitation failed");
        run.succeed({{"ok", true}, {"groupID", groupID}, {"userID", userID}},
                    fmt::format("invited {} to group {}", userID, groupID));
    });
}

void listPositions(Run& run, const std::string& groupID) {
    groupWithID(groupID)->loadPositionsWithCompletitionHandler(
        [&run, groupID](std::optional<RecordList<Position>> positions, Info error) {
            if (!positions) return run.fail(orNone(error, "loading the positions failed"));
            nlohmann::json list = nlohmann::json::array();
            std::string text;
            for (const auto& position : *positions) {
                list.push_back(RecordJson::position(*position));
                text += RecordText::position(*position) + "\n";
            }
            if (positions->empty()) text = "no positions";
            run.succeed({{"ok", true}, {"groupID", groupID}, {"positions", list}}, text);
        });
}
}  // namespace

void GroupCommands::loadGroup(Run& run, const std::string& groupID, std::function<void(std::shared_ptr<Group>)> next) {
    Group::getGroupFromID(groupID, [&run, groupID, next = std::move(next)](std::shared_ptr<Group> group, Info error) {
        if (!group) return run.fail(orNone(error, "loading the group failed"));
        // A reply without the group (an error envelope) builds a record without identifier.
        if (!group->groupID || group->groupID->empty() || *group->groupID == "(null)") {
            return run.fail("no such group: " + groupID);
        }
        next(std::move(group));
    });
}

void GroupCommands::join(Run& run, std::shared_ptr<Group> group, std::function<void()> next) {
    if (group->startTime && group->endTime && !Functions::date(run.now(), *group->startTime, *group->endTime)) {
        return run.fail(fmt::format("group {} can be joined only from {} to {}", *group->groupID,
                                    RecordText::date(group->startTime), RecordText::date(group->endTime)));
    }
    group->joinWithCompletitionHandler([&run, next = std::move(next)](std::int32_t code, Info info) {
        if (code != 0) return run.failStatus(code, info, "joining the group failed");
        next();
    });
}

void GroupCommands::add(CLI::App& app, Invocation& chosen) {
    auto targets = std::make_shared<Targets>();

    app.add_subcommand("groups", "List the groups of the signed-in user")->callback([&chosen] {
        chosen.set(true, [](Run& run, std::shared_ptr<User> user) { listGroups(run, user); });
    });

    auto* group = app.add_subcommand("group", "Show or create a group");
    group->require_subcommand(1);
    auto* show = group->add_subcommand("show", "Show a group with its members and waypoints");
    show->add_option("id", targets->groupID, "Group identifier")->required();
    show->callback([&chosen, targets] {
        chosen.set(true, [targets](Run& run, std::shared_ptr<User>) { showGroup(run, targets->groupID); });
    });
    GroupCreateCommand::add(*group, chosen);

    // The commands that act on one group by its identifier.
    auto withGroup = [&app, &chosen, targets](const char* name, const char* description,
                                              std::function<void(Run&, const Targets&)> command) {
        auto* sub = app.add_subcommand(name, description);
        sub->add_option("id", targets->groupID, "Group identifier")->required();
        sub->callback([&chosen, targets, command] {
            chosen.set(true, [targets, command](Run& run, std::shared_ptr<User>) { command(run, *targets); });
        });
        return sub;
    };
    withGroup("join", "Join a group to share positions in it",
              [](Run& run, const Targets& t) { joinGroup(run, t.groupID); });
    withGroup("leave", "Stop sharing positions in a group",
              [](Run& run, const Targets& t) { leaveGroup(run, t.groupID); });
    withGroup("members", "List the members of a group",
              [](Run& run, const Targets& t) { listMembers(run, t.groupID); });
    withGroup("positions", "List the last positions in a group",
              [](Run& run, const Targets& t) { listPositions(run, t.groupID); });
    withGroup("invite", "Invite a user into a group",
              [](Run& run, const Targets& t) { invite(run, t.groupID, t.userID); })
        ->add_option("user", targets->userID, "User identifier")
        ->required();

    auto* quick = app.add_subcommand("quickjoin", "Become a member of a group by its two secret words");
    quick->add_option("first", targets->wordOne, "First secret word")->required();
    quick->add_option("second", targets->wordTwo, "Second secret word")->required();
    quick->callback([&chosen, targets] {
        chosen.set(true, [targets](Run& run, std::shared_ptr<User>) { quickJoin(run, targets->wordOne, targets->wordTwo); });
    });
}

}  // namespace kelpa::cli
