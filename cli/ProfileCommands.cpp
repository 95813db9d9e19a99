#include "cli/ProfileCommands.h"

#include "cli/Invocation.h"
#include "cli/RecordJson.h"
#include "cli/Run.h"
#include "client/model/User.h"

#include <CLI/CLI.hpp>

namespace kelpa::cli {

void ProfileCommands::add(CLI::App& app, Invocation& chosen) {
    auto* profile = app.add_subcommand("profile", "Change the signed-in user's profile");
    profile->require_subcommand(1);
    profile->add_subcommand("complete", "Mark the registration as completed, as the app's last step does")
        ->callback([&chosen] {
            chosen.set(true, [](Run& run, std::shared_ptr<User> user) {
                user->updateRegistrationCompleted(true, [&run, user](std::int32_t code, Info info) {
                    if (code != 0) return run.failStatus(code, info, "completing the registration failed");
                    run.succeed({{"ok", true}, {"user", RecordJson::user(*user)}}, "registration completed");
                });
            });
        });
}

}  // namespace kelpa::cli
