#pragma once

namespace CLI {
class App;
}

namespace kelpa::cli {

struct Invocation;

// group create: an ad hoc group, or one with description, travel mode, time window,
// invitations and waypoints. Prints the group's identifier and its two secret words, which
// the service hands out only now.
class GroupCreateCommand {
public:
    static void add(CLI::App& group, Invocation& chosen);
};

}  // namespace kelpa::cli
