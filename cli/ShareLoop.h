#pragma once

#include "platform/location/ReplayStep.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kelpa {
class Group;
class User;
}  // namespace kelpa

namespace kelpa::platform {
class Timer;
}

namespace kelpa::cli {

class Run;

// The sharing loop of `share`: reports the track's fixes as this device's position at the
// track's pace, and downloads the group's positions on the travel mode's interval, like the
// live map does while a group is joined. Everything runs on the main queue and its timers,
// so a virtual clock replays a whole track at once.
class ShareLoop : public std::enable_shared_from_this<ShareLoop> {
public:
    struct Settings {
        std::vector<platform::ReplayStep> steps;
        // Report the first fix, download once, and end.
        bool once = false;
        // End after this span; without it the loop ends after the last fix and one download.
        std::optional<std::chrono::nanoseconds> duration;
    };

    ShareLoop(Run& run, std::shared_ptr<Group> group, std::shared_ptr<User> user, Settings settings);

    void start();

    // Car 10 s, bike 20 s, pedestrian 30 s; none for any other travel mode.
    static std::optional<std::chrono::nanoseconds> downloadInterval(std::int32_t groupType);

private:
    void report(std::size_t index);
    void reported(std::size_t index, std::int32_t code, const std::optional<std::string>& info);
    void download(std::function<void()> then);
    void end();
    std::string clock() const;
    std::optional<std::string> ownerOf(const std::string& deviceID) const;

    Run& run_;
    const std::shared_ptr<Group> group_;
    const std::shared_ptr<User> user_;
    const Settings settings_;
    std::shared_ptr<platform::Timer> stepTimer_;
    std::shared_ptr<platform::Timer> downloadTimer_;
    std::shared_ptr<platform::Timer> endTimer_;
    nlohmann::json reports_ = nlohmann::json::array();
    nlohmann::json downloads_ = nlohmann::json::array();
    bool failed_ = false;
    bool ended_ = false;
};

}  // namespace kelpa::cli
