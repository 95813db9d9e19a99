#pragma once

#include <functional>
#include <memory>

namespace kelpa {
class User;
}

namespace kelpa::cli {

class Run;

// The signed-in user of this installation. Like the application at start, a stored "kUserID"
// signs the user in again before a command that needs one.
class Session {
public:
    static constexpr const char* kNotSignedIn = "not signed in: run kelpactl login or register";

    // Calls `next` with the signed-in user, or ends the run with the reason there is none.
    static void withUser(Run& run, std::function<void(std::shared_ptr<User>)> next);
};

}  // namespace kelpa::cli
