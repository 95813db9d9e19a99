#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kelpa::server {

// Signs a request as OAuth 1.0a asks (HMAC-SHA1 over the method, the address and every
// parameter), giving the Authorization header's value.
class OAuth1Signer {
public:
    using Parameters = std::vector<std::pair<std::string, std::string>>;

    struct Credentials {
        std::string consumerKey;
        std::string consumerSecret;
        std::string token;
        std::string tokenSecret;
    };

    // url is the address without its query; parameters are the query's and the body's.
    // nonce and timestamp are given by tests; authorization() makes fresh ones.
    static std::string signature(const std::string& method, const std::string& url, const Parameters& parameters,
                                 const Credentials& credentials, const std::string& nonce, std::int64_t timestamp);
    static std::string authorization(const std::string& method, const std::string& url,
                                     const Parameters& parameters, const Credentials& credentials,
                                     const std::string& nonce, std::int64_t timestamp);
    static std::string authorization(const std::string& method, const std::string& url,
                                     const Parameters& parameters, const Credentials& credentials);
};

}  // namespace kelpa::server
