#pragma once

#include <functional>
#include <memory>

namespace kelpa {
class User;
}

namespace kelpa::cli {

class Run;

// The command that the command line chose, filled in while CLI11 parses. A command that
// needs a user gets the signed-in user; the others get none.
struct Invocation {
    using Start = std::function<void(Run& run, std::shared_ptr<User> user)>;

    bool needsUser = true;
    Start start;

    void set(bool withUser, Start command) {
        needsUser = withUser;
        start = std::move(command);
    }
};

}  // namespace kelpa::cli
