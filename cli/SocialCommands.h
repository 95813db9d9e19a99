#pragma once

namespace CLI {
class App;
}

namespace kelpa::cli {

struct Invocation;

// contacts, contact add, users, chat.
class SocialCommands {
public:
    static void add(CLI::App& app, Invocation& chosen);
};

}  // namespace kelpa::cli
