#include "cli/SocialLoginCommand.h"

#include "cli/Console.h"
#include "cli/Invocation.h"
#include "cli/RecordJson.h"
#include "cli/Run.h"
#include "client/model/User.h"
#include "client/service/API.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

namespace kelpa::cli {

namespace {
struct SocialLogin {
    std::string network;
    std::string socialID;
    std::string displayName;
    SocialToken token;
    bool tokenStdin = false;
};

std::int32_t typeOf(const std::string& network) { return network == "facebook" ? 0 : 1; }

// The token from the options, or from standard input: the token on the first line and, for
// Twitter, its secret on the second (so that neither shows in the process list).
bool readToken(Run& run, SocialLogin& login) {
    if (login.tokenStdin) {
        auto token = run.console().readLine();
        if (!token || token->empty()) {
            run.fail("no token on standard input", Run::kUsage);
            return false;
        }
        login.token.token = *token;
        if (typeOf(login.network) == 1) login.token.secret = run.console().readLine().value_or("");
    }
    if (login.token.token.empty()) {
        run.fail("the access token is missing: use --token or --token-stdin", Run::kUsage);
        return false;
    }
    if (typeOf(login.network) == 1 && login.token.secret.empty()) {
        run.fail("a Twitter sign-in needs the token's secret too", Run::kUsage);
        return false;
    }
    return true;
}

void registerAndSignIn(Run& run, const SocialLogin& login) {
    auto user = std::make_shared<User>();
    user->displayName = login.displayName.empty() ? login.socialID : login.displayName;
    API::registerNewUser(user, login.socialID, typeOf(login.network), login.token, [&run, user](std::int32_t code) {
        if (code == 0) {
            run.succeed({{"ok", true}, {"registered", true}, {"user", RecordJson::user(*user)}},
                        fmt::format("registered and signed in as {} ({})", user->userID.value_or("-"),
                                    user->displayName.value_or("-")));
        } else {
            run.fail(fmt::format("registration failed (code {})", code));
        }
    });
}

void socialLogin(Run& run, SocialLogin login) {
    if (!readToken(run, login)) return;
    API::loginUserWithSocialID(
        login.socialID, typeOf(login.network), login.token,
        [&run, login](std::int32_t code, std::shared_ptr<User> user) {
            if (code == 0 && user) {
                run.succeed({{"ok", true}, {"registered", false}, {"user", RecordJson::user(*user)}},
                            fmt::format("signed in as {} ({})", user->userID.value_or("-"),
                                        user->displayName.value_or("-")));
            } else if (code == 2) {
                registerAndSignIn(run, login);
            } else {
                run.fail(fmt::format("sign-in failed (code {}): the service refused the account or its token", code));
            }
        });
}
}  // namespace

void SocialLoginCommand::add(CLI::App& app, Invocation& chosen) {
    auto login = std::make_shared<SocialLogin>();
    auto* command = app.add_subcommand(
        "social-login", "Sign in with a Facebook or Twitter account, registering it when it is new");
    command->add_option("network", login->network, "facebook or twitter")
        ->required()
        ->check(CLI::IsMember({"facebook", "twitter"}));
    command->add_option("id", login->socialID, "The account's identifier on that network")->required();
    command->add_option("--name", login->displayName, "Display name when registering (default: the identifier)");
    auto* token = command->add_option("--token", login->token.token, "The network's access token for the account");
    command->add_option("--token-secret", login->token.secret, "The token's secret (Twitter)");
    command->add_flag("--token-stdin", login->tokenStdin,
                      "Read the token (and for Twitter its secret) from the first lines of standard input")
        ->excludes(token);
    command->callback([&chosen, login] {
        chosen.set(false, [login](Run& run, std::shared_ptr<User>) { socialLogin(run, *login); });
    });
}

}  // namespace kelpa::cli
