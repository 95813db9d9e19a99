#include "cli/Application.h"

#include "cli/AccountCommands.h"
#include "cli/Console.h"
#include "cli/GroupCommands.h"
#include "cli/Invocation.h"
#include "cli/PhoneCommands.h"
#include "cli/ProfileCommands.h"
#include "cli/Run.h"
#include "cli/Session.h"
#include "cli/ShareCommand.h"
#include "cli/SocialCommands.h"
#include "cli/SocialLoginCommand.h"
#include "client/service/API.h"
#include "platform/Environment.h"
#include "platform/HeadlessMainQueue.h"

#include <CLI/CLI.hpp>

namespace kelpa::cli {

namespace {
struct GlobalOptions {
    bool json = false;
    bool verbose = false;
    std::string service;
};

// Diagnostic lines go to the error stream only with --verbose; the previous sink comes back
// when the run ends, so an in-process caller keeps its own.
class LogRedirect {
public:
    LogRedirect(platform::Environment& env, Console& console, bool verbose) : env_(env), saved_(env.logSink) {
        if (verbose) {
            env.logSink = [&console](std::string_view line) { console.error(line); };
        } else {
            env.logSink = [](std::string_view) {};
        }
    }
    ~LogRedirect() { env_.logSink = saved_; }

private:
    platform::Environment& env_;
    platform::Environment::LogSink saved_;
};

int usageError(Console& console, const std::string& message) {
    console.error(message);
    console.error("Run with --help for more information.");
    return Run::kUsage;
}
}  // namespace

int Application::run(const std::vector<std::string>& arguments, Console& console) {
    CLI::App app{"kelpactl: share live positions with a small group of travellers", "kelpactl"};
    GlobalOptions global;
    app.add_flag("--json", global.json, "Print one JSON document instead of text");
    app.add_flag("-v,--verbose", global.verbose, "Write diagnostic lines to standard error");
    app.add_option("--service", global.service, "Service base URL (also KELPA_SERVICE_URL)");
    app.require_subcommand(1);
    // Global options may also follow the command: "kelpactl groups --json".
    app.fallthrough();

    Invocation chosen;
    AccountCommands::add(app, chosen);
    GroupCommands::add(app, chosen);
    ShareCommand::add(app, chosen);
    SocialCommands::add(app, chosen);
    SocialLoginCommand::add(app, chosen);
    PhoneCommands::add(app, chosen);
    ProfileCommands::add(app, chosen);

    std::vector<const char*> argv{"kelpactl"};
    for (const auto& argument : arguments) argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        console.print(app.help());
        return Run::kSuccess;
    } catch (const CLI::CallForAllHelp&) {
        console.print(app.help("", CLI::AppFormatMode::All));
        return Run::kSuccess;
    } catch (const CLI::ParseError& error) {
        return usageError(console, error.what());
    }
    if (!chosen.start) return usageError(console, "a command is required");

    auto env = platform::Environment::current();
    auto queue = std::dynamic_pointer_cast<platform::HeadlessMainQueue>(env->mainQueue);
    if (!queue) {
        console.error("kelpactl needs the headless main queue");
        return Run::kFailure;
    }
    LogRedirect logRedirect(*env, console, global.verbose);
    if (!global.service.empty()) API::setServiceBaseURL(global.service);

    Run run(console, *queue, global.json);
    // The command starts from the queue, so that an immediate ending stops a running loop.
    queue->post([&run, &chosen] {
        if (!chosen.needsUser) {
            chosen.start(run, nullptr);
            return;
        }
        Session::withUser(run, [&run, &chosen](std::shared_ptr<User> user) { chosen.start(run, std::move(user)); });
    });
    queue->run();
    // Follow-ups that a command does not wait for (invitations of a new group, reloads) still
    // go out before the process ends.
    queue->runUntilIdle();
    if (!run.exitCode()) {
        console.error("kelpactl: the command ended without a result");
        return Run::kFailure;
    }
    return *run.exitCode();
}

}  // namespace kelpa::cli
