#pragma once

#include "server/social/SocialVerifier.h"

namespace kelpa::server {

// Checks a Twitter user token by calling GET /1.1/account/verify_credentials.json with it,
// signed with the application's consumer key and secret: the answer's "id_str" must be the
// claimed account. Twitter answers 401 for a token that is revoked or not this application's.
class TwitterVerifier : public SocialVerifier {
public:
    struct Settings {
        std::string apiURL = "https://api.twitter.com";
        std::string consumerKey;
        std::string consumerSecret;
    };

    explicit TwitterVerifier(Settings settings);
    Verdict verify(const SocialProof& proof) const override;
    bool needsTokenSecret() const override { return true; }

private:
    Settings settings_;
};

}  // namespace kelpa::server
