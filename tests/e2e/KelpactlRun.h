#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace kelpa::e2e {

// One kelpactl installation: its own KELPA_HOME, pointed at one service.
class KelpactlRun {
public:
    struct Result {
        int exitCode = -1;
        std::string out;
        std::string err;
        nlohmann::json json() const;  // the --json document on standard output
    };

    KelpactlRun(std::filesystem::path home, std::string serviceURL);

    // Runs `kelpactl --json ARGS...` with `input` on standard input.
    Result json(const std::vector<std::string>& args, const std::string& input = "") const;
    // The same without --json, for the readable output.
    Result text(const std::vector<std::string>& args, const std::string& input = "") const;

    // The installation's device identifier, as kept in its preferences.
    std::string deviceID() const;
    const std::filesystem::path& home() const { return home_; }

private:
    Result run(std::vector<std::string> args, const std::string& input) const;

    std::filesystem::path home_;
    std::string serviceURL_;
};

}  // namespace kelpa::e2e
