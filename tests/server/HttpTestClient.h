#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <boost/asio/ssl/context.hpp>
#include <nlohmann/json.hpp>

namespace kelpa::server::testing {

// A plain synchronous HTTP(S) client for the tests: one connection per request, bounded by a
// timeout, speaking the service's wire format.
class HttpTestClient {
public:
    struct Response {
        int status = 0;
        std::map<std::string, std::string> headers;
        std::string body;
        nlohmann::json json() const;  // discarded JSON when the body is not JSON
    };
    using Fields = std::vector<std::pair<std::string, std::string>>;

    // With a TLS context the requests go over HTTPS.
    explicit HttpTestClient(std::uint16_t port, boost::asio::ssl::context* tls = nullptr);
    // Connects from this loopback address (any of 127.0.0.0/8), so the service sees
    // requests from different clients.
    void setLocalAddress(std::string address) { localAddress_ = std::move(address); }

    // Percent-encodes keys and values (RFC 3986 unreserved characters stay).
    static std::string formEncode(const Fields& fields);
    Response post(const std::string& body, const std::string& contentType =
                                               "application/x-www-form-urlencoded");
    Response get(const std::string& target, const std::map<std::string, std::string>& headers = {});

private:
    Response request(const std::string& method, const std::string& target, const std::string& body,
                     const std::map<std::string, std::string>& headers);
    std::uint16_t port_;
    boost::asio::ssl::context* tls_;
    std::string localAddress_;
};

}  // namespace kelpa::server::testing
