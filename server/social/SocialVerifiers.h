#pragma once

#include <memory>
#include <string>

#include "server/social/SocialVerifier.h"

namespace kelpa::server {

// The verifier of each social network the service accepts sign-ins from (socialType 0
// Facebook, 1 Twitter). A network without one is refused. Read from a JSON file:
//   {"facebook": {"appID": "...", "appSecret": "...", "graphURL": "https://graph.facebook.com"},
//    "twitter": {"consumerKey": "...", "consumerSecret": "...", "apiURL": "https://api.twitter.com"}}
// Either network may be left out; the addresses are optional.
class SocialVerifiers {
public:
    SocialVerifiers() = default;
    // Throws std::runtime_error naming what is wrong with the file.
    static SocialVerifiers fromFile(const std::string& path);

    const SocialVerifier* forType(int socialType) const;
    static const char* networkName(int socialType);

    std::shared_ptr<const SocialVerifier> facebook;
    std::shared_ptr<const SocialVerifier> twitter;
};

}  // namespace kelpa::server
