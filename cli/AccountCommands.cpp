#include "cli/AccountCommands.h"

#include "cli/Console.h"
#include "cli/Invocation.h"
#include "cli/RecordJson.h"
#include "cli/RecordText.h"
#include "cli/Run.h"
#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/User.h"
#include "client/service/API.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

namespace kelpa::cli {

namespace {
struct Credentials {
    std::string email;
    std::string displayName;
    bool passwordStdin = false;
};

std::string name(const User& user) {
    return fmt::format("{} ({})", user.userID.value_or("-"), user.displayName.value_or("-"));
}

void registerUser(Run& run, const Credentials& credentials) {
    auto password = AccountCommands::password(run, credentials.passwordStdin);
    if (!password) return;
    auto user = std::make_shared<User>();
    user->displayName = credentials.displayName;
    API::registerNewUser(user, credentials.email, Functions::getHashedStringFromString(*password),
                         [&run, user](std::int32_t code) {
                             if (code == 0) {
                                 run.succeed({{"ok", true}, {"user", RecordJson::user(*user)}},
                                             "registered and signed in as " + name(*user));
                             } else if (code == 2) {
                                 run.fail("registration failed: already exists");
                             } else {
                                 run.fail(fmt::format("registration failed (code {})", code));
                             }
                         });
}

void login(Run& run, const Credentials& credentials) {
    auto password = AccountCommands::password(run, credentials.passwordStdin);
    if (!password) return;
    API::loginUserWithEmail(credentials.email, Functions::getHashedStringFromString(*password),
                            [&run](std::int32_t code, std::shared_ptr<User> user) {
                                if (code == 0 && user) {
                                    run.succeed({{"ok", true}, {"user", RecordJson::user(*user)}},
                                                "signed in as " + name(*user));
                                } else if (code == 2) {
                                    run.fail("sign-in failed: no user with this e-mail address and password");
                                } else {
                                    run.fail(fmt::format("sign-in failed (code {})", code));
                                }
                            });
}
}  // namespace

std::optional<std::string> AccountCommands::password(Run& run, bool fromStandardInput) {
    auto password = fromStandardInput ? run.console().readLine() : run.console().readSecret("Password: ");
    if (!password) {
        run.fail(fromStandardInput ? "no password on standard input"
                                   : "no terminal to read the password from: use --password-stdin",
                 Run::kUsage);
        return std::nullopt;
    }
    if (password->empty()) {
        run.fail("the password must not be empty", Run::kUsage);
        return std::nullopt;
    }
    return password;
}

void AccountCommands::add(CLI::App& app, Invocation& chosen) {
    auto credentials = std::make_shared<Credentials>();

    auto* registration = app.add_subcommand("register", "Create an account with e-mail and password, and sign in");
    registration->add_option("email", credentials->email, "E-mail address")->required();
    registration->add_option("name", credentials->displayName, "Display name")->required();
    registration->add_flag("--password-stdin", credentials->passwordStdin,
                           "Read the password from the first line of standard input");
    registration->callback([&chosen, credentials] {
        chosen.set(false, [credentials](Run& run, std::shared_ptr<User>) { registerUser(run, *credentials); });
    });

    auto* signIn = app.add_subcommand("login", "Sign in with e-mail and password");
    signIn->add_option("email", credentials->email, "E-mail address")->required();
    signIn->add_flag("--password-stdin", credentials->passwordStdin,
                     "Read the password from the first line of standard input");
    signIn->callback([&chosen, credentials] {
        chosen.set(false, [credentials](Run& run, std::shared_ptr<User>) { login(run, *credentials); });
    });

    app.add_subcommand("whoami", "Show the signed-in user")->callback([&chosen] {
        chosen.set(true, [](Run& run, std::shared_ptr<User> user) {
            run.succeed({{"ok", true}, {"user", RecordJson::user(*user)}}, RecordText::userDetails(*user));
        });
    });

    app.add_subcommand("logout", "Forget the signed-in user of this installation")->callback([&chosen] {
        chosen.set(false, [](Run& run, std::shared_ptr<User>) {
            KelpaDefaults::removeUserID();
            User::setCurrentUser(nullptr);
            Group::setJoinedGroup(nullptr);
            run.succeed({{"ok", true}}, "signed out");
        });
    });
}

}  // namespace kelpa::cli
