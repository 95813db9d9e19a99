#include "cli/PhoneCommands.h"

#include "cli/Invocation.h"
#include "cli/Run.h"
#include "client/model/Functions.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/Environment.h"
#include "platform/Preferences.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include <random>

namespace kelpa::cli {

namespace {
struct PhoneOptions {
    std::string number;
    std::string code;
};

platform::Preferences& preferences() { return *platform::Environment::current()->preferences; }

void sendCode(Run& run, const std::string& typedNumber) {
    std::random_device device;
    const auto code = std::to_string(std::uniform_int_distribution<int>(1000, 9999)(device));
    const auto number = Functions::getFormattedPhoneNumberFromPhoneNumber(typedNumber);
    // Only the latest code counts, whatever becomes of the message.
    preferences().set(PhoneCommands::kCodeKey, code);
    preferences().set(PhoneCommands::kNumberKey, number);
    API::sendSMS(code, number, [&run, number](std::int32_t result) {
        if (result != 0) return run.fail(fmt::format("sending the code failed (code {})", result));
        run.succeed({{"ok", true}, {"phoneNumber", number}},
                    fmt::format("code sent to {}: run kelpactl phone verify CODE", number));
    });
}

void verify(Run& run, const std::shared_ptr<User>& user, const std::string& typed) {
    const auto code = preferences().string(PhoneCommands::kCodeKey);
    const auto number = preferences().string(PhoneCommands::kNumberKey);
    if (!code || !number || *code != typed) return run.fail("code is not equal to code");
    user->updatePhoneNumber(*number, typed, [&run, number = *number](std::int32_t result, Info info) {
        if (result != 0) return run.failStatus(result, info, "saving the phone number failed");
        preferences().remove(PhoneCommands::kCodeKey);
        preferences().remove(PhoneCommands::kNumberKey);
        run.succeed({{"ok", true}, {"phoneNumber", number}}, "phone number " + number + " verified");
    });
}
}  // namespace

void PhoneCommands::add(CLI::App& app, Invocation& chosen) {
    auto options = std::make_shared<PhoneOptions>();
    auto* phone = app.add_subcommand("phone", "Verify the phone number of the signed-in user");
    phone->require_subcommand(1);

    auto* send = phone->add_subcommand("send", "Send a verification code by text message");
    send->add_option("number", options->number, "Phone number")->required();
    send->callback([&chosen, options] {
        if (options->number.find_first_not_of(" \t") == std::string::npos) {
            throw CLI::ValidationError("number", "must not be empty");
        }
        chosen.set(true, [options](Run& run, std::shared_ptr<User>) { sendCode(run, options->number); });
    });

    auto* check = phone->add_subcommand("verify", "Save the phone number when the code matches");
    check->add_option("code", options->code, "The four-digit code received")->required();
    check->callback([&chosen, options] {
        chosen.set(true, [options](Run& run, std::shared_ptr<User> user) { verify(run, user, options->code); });
    });
}

}  // namespace kelpa::cli
