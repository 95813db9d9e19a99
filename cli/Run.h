#pragma once

#include "client/model/Handlers.h"
#include "client/service/DateFormat.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace kelpa::platform {
class HeadlessMainQueue;
}

namespace kelpa::cli {

class Console;

// One command in progress: where its results go and how it ends. A command starts its
// operations, and one of their completions ends the run with succeed() or fail(), which
// stops the main queue.
class Run {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 1;
    static constexpr int kUsage = 2;

    Run(Console& console, platform::HeadlessMainQueue& queue, bool json);

    bool json() const { return json_; }
    Console& console() { return console_; }
    platform::HeadlessMainQueue& queue() { return queue_; }
    Date now() const;

    // Prints the command's one result: the document with --json, the text otherwise.
    void succeed(const nlohmann::json& document, const std::string& text);
    // The same with another exit code: a result worth printing although part of it failed.
    void complete(const nlohmann::json& document, const std::string& text, int exitCode);
    // Prints the failure text on the error stream (and an error document with --json).
    void fail(const std::string& message, int exitCode = kFailure);
    // A status completion that did not succeed: the service's info, else the fallback.
    void failStatus(std::int32_t code, const Info& info, const std::string& fallback);
    // A line of progress in text mode (nothing with --json, whose one document comes last).
    void progress(const std::string& line);
    // Ends the run with the given exit code without printing anything more.
    void finish(int exitCode);

    bool finished() const { return exitCode_.has_value(); }
    std::optional<int> exitCode() const { return exitCode_; }

private:
    Console& console_;
    platform::HeadlessMainQueue& queue_;
    const bool json_;
    std::optional<int> exitCode_;
};

}  // namespace kelpa::cli
