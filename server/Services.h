#pragma once

#include <cstddef>

#include "server/security/DeviceKeys.h"
#include "server/security/FailureThrottle.h"
#include "server/security/PasswordHasher.h"
#include "server/pictures/ProfileStore.h"
#include "server/phone/SmsGateway.h"
#include "server/social/SocialVerifiers.h"

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
    SocialVerifiers social;
    // Subjects: a device key (wrong bindings, a bound device's wrong passwords) or "email:"
    // and an e-mail address (wrong passwords from devices not bound to that account).
    FailureThrottle authFailures{"auth", 10, 15 * 60};
    // Subject: the user guessing.
    FailureThrottle wordGuesses{"words", 20, 3600};
    // Per client address, so that fresh accounts or other e-mail addresses reset nothing:
    // password attempts on accounts (one password tried on many addresses), registrations,
    // text messages, address-book matches and wrong secret words.
    FailureThrottle passwordsByAddress{"auth-address", 30, 15 * 60};
    FailureThrottle registrationsByAddress{"signup-address", 20, 3600};
    FailureThrottle smsByAddress{"sms-address", 10, 3600};
    FailureThrottle matchesByUser{"match", 10, 3600};
    FailureThrottle matchesByAddress{"match-address", 30, 3600};
    FailureThrottle wordGuessesByAddress{"words-address", 40, 3600};
    // Social sign-ins and registrations whose token the network did not confirm, per client
    // address: each costs a call to the network.
    FailureThrottle socialByAddress{"social-address", 30, 15 * 60};
    // Subject: requester and group (313).
    FailureThrottle joinRequests{"join-request", 3, 3600};
};

}  // namespace kelpa::server
