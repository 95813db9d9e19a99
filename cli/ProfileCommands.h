#pragma once

namespace CLI {
class App;
}

namespace kelpa::cli {

struct Invocation;

// profile complete: marks the signed-in user's registration as done, as the app's profile
// step does, so the app opens on the tabs for this installation.
class ProfileCommands {
public:
    static void add(CLI::App& app, Invocation& chosen);
};

}  // namespace kelpa::cli
