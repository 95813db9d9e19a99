#pragma once

namespace CLI {
class App;
}

namespace kelpa::cli {

struct Invocation;

// social-login: signs in with a Facebook or Twitter account, registering it first when the
// service does not know it yet, as the app's sign-in buttons do. The network's access token
// (and for Twitter its secret) goes along so that the service can have the network confirm it.
class SocialLoginCommand {
public:
    static void add(CLI::App& app, Invocation& chosen);
};

}  // namespace kelpa::cli
