#pragma once

#include <string>

namespace kelpa::server {

// What a client shows for a social account: the account's identifier and the access token
// the network's kit gave it at sign-in (with its secret, for networks that sign requests).
struct SocialProof {
    std::string socialID;
    std::string token;
    std::string tokenSecret;
};

// Asks one social network whether an access token is valid, was issued to this service's
// application, and belongs to the claimed account. Blocks on the network's answer.
class SocialVerifier {
public:
    enum class Verdict { confirmed, rejected, unreachable };

    virtual ~SocialVerifier() = default;
    virtual Verdict verify(const SocialProof& proof) const = 0;
    // Whether the network's requests need the token's secret as well.
    virtual bool needsTokenSecret() const = 0;
};

}  // namespace kelpa::server
