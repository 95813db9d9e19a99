#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "LoopbackHttpServer.h"

namespace kelpa::server::testing {

// Facebook's token inspection (GET /debug_token) and Twitter's verify_credentials on one
// loopback port, answering like the networks do for the tokens a test issued: a Facebook
// token only when asked with this application's token, a Twitter token only when the request
// carries a valid OAuth signature made with the consumer secret and the token's secret.
class FakeSocialNetworks {
public:
    static constexpr const char* kAppID = "kelpa-app";
    static constexpr const char* kAppSecret = "app-secret";
    static constexpr const char* kConsumerKey = "kelpa-consumer";
    static constexpr const char* kConsumerSecret = "consumer-secret";

    FakeSocialNetworks();

    // A valid token of the account; for Facebook `app` may name another application.
    std::string facebookToken(const std::string& userID, const std::string& app = kAppID);
    // A token and its secret.
    std::pair<std::string, std::string> twitterToken(const std::string& userID);
    // Tokens that are no longer valid (logged out, revoked).
    void revoke(const std::string& token);
    // While down, every request is answered 503.
    void setDown(bool down);

    // Writes the service's configuration for this fake into dir; returns the file's path.
    std::string writeConfig(const std::string& dir, bool facebook = true, bool twitter = true) const;
    std::size_t requestCount() const { return server_.requests().size(); }
    std::string url() const { return server_.url(); }

private:
    kelpa::testing::LoopbackHttpServer::Reply answer(const std::string& raw);
    kelpa::testing::LoopbackHttpServer::Reply facebook(const std::string& query);
    kelpa::testing::LoopbackHttpServer::Reply twitter(const std::string& raw, const std::string& target);

    struct Issued {
        std::string userID;
        std::string app;     // Facebook
        std::string secret;  // Twitter
        bool valid = true;
    };
    mutable std::mutex mutex_;
    std::map<std::string, Issued> facebook_;
    std::map<std::string, Issued> twitter_;
    bool down_ = false;
    int issued_ = 0;
    kelpa::testing::LoopbackHttpServer server_;
};

}  // namespace kelpa::server::testing
