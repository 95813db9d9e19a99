#pragma once

#include <cstddef>

#include "server/DeviceKeys.h"
#include "server/FailureThrottle.h"
#include "server/PasswordHasher.h"
#include "server/ProfileStore.h"
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
    // Subjects: a device key (wrong bindings) or "email:" and an address (wrong passwords).
    FailureThrottle authFailures{"auth", 10, 15 * 60};
    // Subject: the user guessing.
    FailureThrottle wordGuesses{"words", 20, 3600};
};

}  // namespace kelpa::server
