#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace kelpa::cli {

struct Invocation;
class Run;

// register, login, whoami, logout.
class AccountCommands {
public:
    static void add(CLI::App& app, Invocation& chosen);

    // The typed password: from the first line of standard input, or read from the terminal
    // without echo. Ends the run with a usage error when there is none.
    static std::optional<std::string> password(Run& run, bool fromStandardInput);
};

}  // namespace kelpa::cli
