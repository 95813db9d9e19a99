#include "cli/ShareLoop.h"

#include "cli/Arguments.h"
#include "cli/Console.h"
#include "cli/RecordJson.h"
#include "cli/RecordText.h"
#include "cli/Run.h"
#include "client/model/Device.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "platform/Log.h"
#include "platform/Timer.h"

#include <fmt/format.h>

#include <ctime>

namespace kelpa::cli {

ShareLoop::ShareLoop(Run& run, std::shared_ptr<Group> group, std::shared_ptr<User> user, Settings settings)
    : run_(run), group_(std::move(group)), user_(std::move(user)), settings_(std::move(settings)) {}

std::optional<std::chrono::nanoseconds> ShareLoop::downloadInterval(std::int32_t groupType) {
    switch (groupType) {
        case 1: return std::chrono::seconds(10);
        case 2: return std::chrono::seconds(20);
        case 3: return std::chrono::seconds(30);
        default: return std::nullopt;
    }
}

void ShareLoop::start() {
    const auto interval = downloadInterval(group_->GroupType);
    run_.progress(fmt::format("{} sharing in group {} ({}, {}): {} positions, {}", clock(), group_->groupID.value_or("-"),
                              group_->jDescription.value_or("-"), Arguments::travelModeName(group_->GroupType),
                              settings_.steps.size(),
                              interval ? fmt::format("positions every {} s",
                                                     std::chrono::duration_cast<std::chrono::seconds>(*interval).count())
                                       : std::string("no downloads for this travel mode")));
    if (settings_.once) {
        report(0);
        return;
    }
    auto self = shared_from_this();
    if (interval) {
        // The first download comes one interval after the start, as on the live map.
        downloadTimer_ = platform::Timer::scheduledTimer(*interval, true, [self](platform::Timer&) { self->download({}); });
    }
    if (settings_.duration) {
        endTimer_ = platform::Timer::scheduledTimer(*settings_.duration, false, [self](platform::Timer&) { self->end(); });
    }
    report(0);
}

void ShareLoop::report(std::size_t index) {
    if (ended_ || index >= settings_.steps.size()) return;
    if (index + 1 < settings_.steps.size()) {
        const auto wait = settings_.steps[index + 1].delay - settings_.steps[index].delay;
        auto self = shared_from_this();
        stepTimer_ = platform::Timer::scheduledTimer(wait, false, [self, index](platform::Timer&) { self->report(index + 1); });
    }
    // The member record is looked up at each report: a download may have replaced it.
    auto member = group_->getMemberFromUser(*user_);
    auto position = member && member->device ? member->device->position : nullptr;
    if (!position) {
        reported(index, 1, "this device has no position record in the group");
        return;
    }
    const auto& fix = settings_.steps[index].fix;
    position->updatePositionToLatitude(fix.latitude, fix.longitude,
                                       [self = shared_from_this(), index](std::int32_t code, std::optional<std::string> info) {
                                           self->reported(index, code, info);
                                       });
}

void ShareLoop::reported(std::size_t index, std::int32_t code, const std::optional<std::string>& info) {
    if (ended_) return;
    const auto& fix = settings_.steps[index].fix;
    const auto where = RecordText::coordinates(fix.latitude, fix.longitude);
    nlohmann::json entry = {{"time", RecordJson::date(run_.now())},
                            {"latitude", fix.latitude},
                            {"longitude", fix.longitude},
                            {"ok", code == 0}};
    // The live map's diagnostic lines, for --verbose (code 1 is the service's failure).
    if (code == 0) {
        platform::log("Position Updated");
        run_.progress(fmt::format("{} reported {}", clock(), where));
    } else {
        if (code == 1) platform::log(fmt::format("Position updating failed {}", info.value_or("(null)")));
        failed_ = true;
        const auto why = info.value_or(fmt::format("code {}", code));
        entry["error"] = why;
        run_.console().error(fmt::format("{} report of {} failed: {}", clock(), where, why));
    }
    reports_.push_back(std::move(entry));
    const bool last = index + 1 == settings_.steps.size();
    if (settings_.once || (last && !settings_.duration)) {
        auto self = shared_from_this();
        download([self] { self->end(); });
    }
}

void ShareLoop::download(std::function<void()> then) {
    if (ended_) return;
    platform::log("download positions");
    group_->loadPositionsWithCompletitionHandler(
        [self = shared_from_this(), then = std::move(then)](std::optional<RecordList<Position>> positions,
                                                            std::optional<std::string> error) {
            if (self->ended_) return;
            platform::log("positions downloaded");
            nlohmann::json entry = {{"time", RecordJson::date(self->run_.now())}};
            if (!positions) {
                self->failed_ = true;
                entry["error"] = error.value_or("Unknown Error");
                self->run_.console().error(fmt::format("{} download failed: {}", self->clock(), error.value_or("Unknown Error")));
            } else {
                // As the live map does: each joined member's device takes its latest position.
                if (self->group_->members) {
                    for (const auto& member : *self->group_->members) {
                        if (!member || !member->joined || !member->device) continue;
                        for (const auto& position : *positions) {
                            if (position->deviceID == member->device->deviceID) member->device->position = position;
                        }
                    }
                }
                entry["positions"] = nlohmann::json::array();
                std::string text = fmt::format("{} positions:", self->clock());
                for (const auto& position : *positions) {
                    auto json = RecordJson::position(*position);
                    const auto owner = self->ownerOf(position->deviceID);
                    json["displayName"] = owner ? nlohmann::json(*owner) : nullptr;
                    entry["positions"].push_back(std::move(json));
                    text += "\n  " + RecordText::position(*position, owner);
                }
                if (positions->empty()) text += " none";
                self->run_.progress(text);
            }
            self->downloads_.push_back(std::move(entry));
            if (then) then();
        });
}

void ShareLoop::end() {
    if (ended_) return;
    ended_ = true;
    for (auto* timer : {&stepTimer_, &downloadTimer_, &endTimer_}) {
        if (*timer) (*timer)->invalidate();
        timer->reset();
    }
    nlohmann::json document = {{"ok", !failed_},
                               {"groupID", group_->groupID ? nlohmann::json(*group_->groupID) : nullptr},
                               {"reports", reports_},
                               {"downloads", downloads_}};
    run_.complete(document,
                  fmt::format("{} done: {} reports, {} downloads{}", clock(), reports_.size(), downloads_.size(),
                              failed_ ? ", some failed" : ""),
                  failed_ ? Run::kFailure : Run::kSuccess);
}

std::string ShareLoop::clock() const {
    const std::time_t t = std::chrono::system_clock::to_time_t(run_.now());
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[16];
    std::strftime(buffer, sizeof buffer, "%H:%M:%S", &tm);
    return buffer;
}

std::optional<std::string> ShareLoop::ownerOf(const std::string& deviceID) const {
    if (!group_->members) return std::nullopt;
    for (const auto& member : *group_->members) {
        if (member && member->device && member->device->deviceID == deviceID && member->user) {
            return member->user->displayName;
        }
    }
    return std::nullopt;
}

}  // namespace kelpa::cli
