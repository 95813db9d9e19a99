#include "cli/ShareCommand.h"

#include "cli/Arguments.h"
#include "cli/GroupCommands.h"
#include "cli/Invocation.h"
#include "cli/Run.h"
#include "cli/ShareLoop.h"
#include "client/model/Device.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "platform/location/TrackReader.h"
#include "platform/location/TrackReplay.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

namespace kelpa::cli {

namespace {
struct ShareOptions {
    std::string track;
    std::string groupID;
    double speed = 1.0;
    bool once = false;
    std::string duration;
};

void startLoop(Run& run, const std::shared_ptr<Group>& group, const std::shared_ptr<User>& user,
               const ShareLoop::Settings& settings) {
    auto member = group->getMemberFromUser(*user);
    if (!member || !member->device) {
        return run.fail(fmt::format("not joined to group {}: run kelpactl join {}", group->groupID.value_or("-"),
                                    group->groupID.value_or("ID")));
    }
    if (!member->device->position) {
        // A device that never reported has no position yet; the first report makes one.
        member->device->position = std::make_shared<Position>();
        member->device->position->deviceID = member->device->deviceID;
    }
    std::make_shared<ShareLoop>(run, group, user, settings)->start();
}

void shareInJoinedGroup(Run& run, const std::shared_ptr<User>& user, const ShareLoop::Settings& settings) {
    user->getGroupsWithCompletitionHandler([&run, user, settings](std::optional<RecordList<Group>> groups, Info error) {
        if (!groups) return run.fail(error.value_or("loading the groups failed"));
        auto joined = Group::getJoinedGroup();
        if (!joined) return run.fail("no group joined: run kelpactl join ID, or share --group ID");
        startLoop(run, joined, user, settings);
    });
}

void shareInGroup(Run& run, const std::shared_ptr<User>& user, const std::string& groupID,
                  const ShareLoop::Settings& settings) {
    GroupCommands::loadGroup(run, groupID, [&run, user, settings](std::shared_ptr<Group> group) {
        GroupCommands::join(run, group, [&run, user, settings, group] {
            // The members loaded before the join do not show this device yet.
            group->members.reset();
            group->loadMembersWithCompletitionHandler([&run, user, settings, group](std::optional<RecordList<Member>> members,
                                                                                    Info error) {
                if (!members) return run.fail(error.value_or("loading the members failed"));
                startLoop(run, group, user, settings);
            });
        });
    });
}

ShareLoop::Settings settingsFrom(const ShareOptions& options) {
    ShareLoop::Settings settings;
    auto track = platform::TrackReader::readFile(options.track);
    if (!track.ok()) throw CLI::ValidationError("track", *track.error);
    if (!options.duration.empty()) {
        settings.duration = Arguments::duration(options.duration);
        if (!settings.duration) throw CLI::ValidationError("--duration", "must be a positive span like 90, 90s, 10m or 2h");
    }
    settings.once = options.once;
    settings.steps = platform::TrackReplay::schedule(track.fixes, options.speed);
    return settings;
}
}  // namespace

void ShareCommand::add(CLI::App& app, Invocation& chosen) {
    auto options = std::make_shared<ShareOptions>();
    auto* share = app.add_subcommand("share", "Share this device's position from a GPX or NMEA track");
    share->add_option("track", options->track, "GPX or NMEA track file")->required()->check(CLI::ExistingFile);
    share->add_option("--group", options->groupID, "Join this group first instead of sharing in the joined group");
    share->add_option("--speed", options->speed, "Replay speed factor (2 is twice as fast)")->check(CLI::PositiveNumber);
    auto* once = share->add_flag("--once", options->once, "Report the first position, download once, and end");
    share->add_option("--duration", options->duration, "End after this span (90, 90s, 10m, 2h)")->excludes(once);
    share->callback([&chosen, options] {
        auto settings = settingsFrom(*options);
        const auto groupID = options->groupID;
        chosen.set(true, [settings, groupID](Run& run, std::shared_ptr<User> user) {
            if (groupID.empty()) {
                shareInJoinedGroup(run, user, settings);
            } else {
                shareInGroup(run, user, groupID, settings);
            }
        });
    });
}

}  // namespace kelpa::cli
