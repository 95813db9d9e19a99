#pragma once

#include "server/social/SocialVerifier.h"

namespace kelpa::server {

// Checks a Facebook user access token with the Graph API's token inspection
// (GET /debug_token, asked with the application's own token "id|secret"): valid, issued to
// this application, and the claimed user's.
class FacebookVerifier : public SocialVerifier {
public:
    struct Settings {
        std::string graphURL = "https://graph.facebook.com";
        std::string appID;
        std::string appSecret;
    };

    explicit FacebookVerifier(Settings settings);
    Verdict verify(const SocialProof& proof) const override;
    bool needsTokenSecret() const override { return false; }

private:
    Settings settings_;
};

}  // namespace kelpa::server
