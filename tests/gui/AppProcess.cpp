#include "AppProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace kelpa::testing {

AppProcess::AppProcess(std::filesystem::path binary, std::filesystem::path logFile)
    : binary_(std::move(binary)), logFile_(std::move(logFile)) {}

AppProcess::~AppProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (in_ >= 0) ::close(in_);
    if (out_ >= 0) ::close(out_);
}

void AppProcess::start(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment) {
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> args{binary_.string(), "--automation"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const auto name = entry.substr(0, entry.find('='));
        if (!environment.count(name)) env.push_back(entry);
    }
    for (const auto& [name, value] : environment) env.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, logFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    in_ = input[1];
    out_ = output[0];
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + binary_.string());
    }
}

std::string AppProcess::command(const std::string& line, std::chrono::seconds limit) {
    const std::string sent = line + "\n";
    if (::write(in_, sent.data(), sent.size()) != static_cast<ssize_t>(sent.size())) return "error no answer";
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        if (auto end = buffer_.find('\n'); end != std::string::npos) {
            std::string answer = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return answer;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fd{out_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) return "error no answer";
        char chunk[4096];
        const auto n = ::read(out_, chunk, sizeof chunk);
        if (n <= 0) return "error no answer";
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

int AppProcess::waitForExit(std::chrono::seconds limit) {
    if (pid_ <= 0) return -1;
    // A pid file descriptor becomes readable when the process ends: a wait with a deadline.
    // Through syscall(): glibc 2.36 declares pidfd_open without C linkage for C++.
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    pollfd fd{process, POLLIN, 0};
    const bool ended = process >= 0 && ::poll(&fd, 1, static_cast<int>(limit.count() * 1000)) > 0;
    if (process >= 0) ::close(process);
    int status = 0;
    if (!ended) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return -1;
    }
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

std::string AppProcess::log() const {
    std::ifstream in(logFile_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace kelpa::testing
