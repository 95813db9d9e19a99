#include "tests/server/ServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <stdexcept>

#include <gtest/gtest.h>

extern char** environ;

namespace kelpa::server::testing {

ServerProcess::ServerProcess(std::string databaseUrl, std::string directory,
                             std::vector<std::string> extraArguments)
    : databaseUrl_(std::move(databaseUrl)),
      directory_(std::move(directory)),
      extraArguments_(std::move(extraArguments)) {}

ServerProcess::~ServerProcess() {
    if (pid_ > 0) kill();
}

void ServerProcess::start() {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> args = {KELPA_SERVER_BINARY,
                                     "--db", databaseUrl_,
                                     // A restart keeps the port the first start was given.
                                     "--listen", "127.0.0.1:" + std::to_string(port_),
                                     "--profiles", directory_ + "/profiles",
                                     "--access-log", directory_ + "/access.log",
                                     "--password-cost", "minimal"};
    args.insert(args.end(), extraArguments_.begin(), extraArguments_.end());
    if (std::find(args.begin(), args.end(), "--sms-webhook") == args.end()) {
        args.push_back("--sms-outbox");
        args.push_back(outboxPath());
    }
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
    if (rc != 0) throw std::runtime_error("cannot start kelpa-server");

    // Wait for the line that names the port, with a deadline instead of a sleep.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::string text;
    const std::regex listening("listening on https?://127\\.0\\.0\\.1:([0-9]+)");
    std::smatch match;
    while (!std::regex_search(text, match, listening)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        pollfd fd{stdout_, POLLIN, 0};
        if (left <= 0 || ::poll(&fd, 1, static_cast<int>(left)) <= 0)
            throw std::runtime_error("kelpa-server did not report its port");
        char buffer[512];
        const auto n = ::read(stdout_, buffer, sizeof buffer);
        if (n <= 0) throw std::runtime_error("kelpa-server exited during start: " + text);
        text.append(buffer, static_cast<std::size_t>(n));
    }
    port_ = static_cast<std::uint16_t>(std::stoi(match[1].str()));
}

int ServerProcess::waitForExit() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    ::close(stdout_);
    stdout_ = -1;
    return status;
}

void ServerProcess::terminate() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    // A clean stop exits with 0; sanitizer findings in the server make it exit otherwise.
    const int status = waitForExit();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "kelpa-server exit status " << status;
}

void ServerProcess::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    waitForExit();
}

}  // namespace kelpa::server::testing
