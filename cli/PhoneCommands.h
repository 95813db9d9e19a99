#pragma once

namespace CLI {
class App;
}

namespace kelpa::cli {

struct Invocation;

// phone send NUMBER, phone verify CODE: the four-digit code goes out by text message, is kept
// in this installation's preferences, and only a matching code saves the number.
class PhoneCommands {
public:
    static constexpr const char* kCodeKey = "kelpactl.verificationCode";
    static constexpr const char* kNumberKey = "kelpactl.verificationNumber";

    static void add(CLI::App& app, Invocation& chosen);
};

}  // namespace kelpa::cli
