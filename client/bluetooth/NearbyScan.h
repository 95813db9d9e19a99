#pragma once

#include "platform/bluetooth/AdvertisementData.h"
#include "platform/bluetooth/CentralManager.h"
#include "platform/bluetooth/ManagerState.h"

#include <optional>
#include <string>

namespace kelpa {

// What the two scanning screens share (groups nearby, users nearby): the line each radio
// state writes, the scan they run, and how an advertisement of ours is told from others.
class NearbyScan {
public:
    // The line a central state report writes; none for resetting.
    static std::optional<std::string> stateLine(platform::ManagerState state);

    // Scans for every advertiser, each advertisement reported once, replacing a running scan.
    static void start(platform::CentralManager& central);

    // The identifier an advertisement of our service announces (its local name): a group's
    // identifier from a leader, a user's from a presence advertiser. None for advertisements of
    // other services or without a local name.
    static std::optional<std::string> announcedIdentifier(const platform::AdvertisementData& advertisement);
};

}  // namespace kelpa
