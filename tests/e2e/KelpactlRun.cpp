#include "KelpactlRun.h"

#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kelpa::e2e {

namespace {
std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

nlohmann::json KelpactlRun::Result::json() const {
    auto parsed = nlohmann::json::parse(out, nullptr, false);
    return parsed.is_discarded() ? nlohmann::json() : parsed;
}

KelpactlRun::KelpactlRun(std::filesystem::path home, std::string serviceURL)
    : home_(std::move(home)), serviceURL_(std::move(serviceURL)) {
    std::filesystem::create_directories(home_);
}

KelpactlRun::Result KelpactlRun::json(const std::vector<std::string>& args, const std::string& input) const {
    std::vector<std::string> all{"--json"};
    all.insert(all.end(), args.begin(), args.end());
    return run(std::move(all), input);
}

KelpactlRun::Result KelpactlRun::text(const std::vector<std::string>& args, const std::string& input) const {
    return run(args, input);
}

// Standard input, output and error go through files: the outputs are small, and files
// cannot fill up and block the way pipes can.
KelpactlRun::Result KelpactlRun::run(std::vector<std::string> args, const std::string& input) const {
    const auto in = home_ / "stdin.txt", out = home_ / "stdout.txt", err = home_ / "stderr.txt";
    std::ofstream(in) << input;

    std::vector<std::string> argv{KELPACTL_BINARY, "--service", serviceURL_};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    std::vector<std::string> env{"KELPA_HOME=" + home_.string()};
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (!entry.starts_with("KELPA_HOME=") && !entry.starts_with("KELPA_SERVICE_URL=")) env.push_back(entry);
    }
    std::vector<char*> cenv;
    for (auto& e : env) cenv.push_back(e.data());
    cenv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    Result result;
    if (posix_spawn(&pid, KELPACTL_BINARY, &actions, nullptr, cargv.data(), cenv.data()) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

std::string KelpactlRun::deviceID() const {
    auto prefs = nlohmann::json::parse(readFile(home_ / "preferences.json"), nullptr, false);
    return prefs.is_object() ? prefs.value("kDeviceID", "") : "";
}

}  // namespace kelpa::e2e
