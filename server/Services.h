#pragma once

#include <chrono>
#include <cstddef>

#include "server/DeviceKeys.h"
#include "server/PasswordHasher.h"
#include "server/ProfileStore.h"
#include "server/RateLimiter.h"
#include "server/SmsGateway.h"

namespace kelpa::server {

// The long-lived collaborators and tunables the actions share; owned by the Server.
struct Services {
    struct Limits {
        int maxDevicesPerUser = 10;
        std::int64_t smsPerUserPerHour = 5;
        std::int64_t smsPerNumberPerHour = 5;
        std::int64_t phoneCodeValidSeconds = 15 * 60;
        std::size_t maxPictureBytes = 5 * 1024 * 1024;
    };

    PasswordHasher hasher;
    DeviceKeys deviceKeys;
    SmsGateway sms;
    ProfileStore profiles;
    Limits limits;
    RateLimiter authFailures{10, std::chrono::minutes(15)};
    RateLimiter wordGuesses{20, std::chrono::hours(1)};
};

}  // namespace kelpa::server
