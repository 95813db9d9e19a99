#pragma once

#include "client/model/Handlers.h"

#include <functional>
#include <memory>
#include <string>

namespace CLI {
class App;
}

namespace kelpa {
class Group;
}

namespace kelpa::cli {

struct Invocation;
class Run;

// groups, group show, join, leave, quickjoin, members, invite, positions; `group create`
// is GroupCreateCommand.
class GroupCommands {
public:
    static void add(CLI::App& app, Invocation& chosen);

    // Loads one group; ends the run when the service knows no such group.
    static void loadGroup(Run& run, const std::string& groupID, std::function<void(std::shared_ptr<Group>)> next);
    // Joins the group when its time window is open now, as the group details allow it.
    static void join(Run& run, std::shared_ptr<Group> group, std::function<void()> next);
};

}  // namespace kelpa::cli
