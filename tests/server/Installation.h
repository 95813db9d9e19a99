#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/server/HttpTestClient.h"

namespace kelpa::server::testing {

// One simulated app installation: its own device identifier and, once signed in, its
// user. Requests carry the fields in the client's order: the action's, userID, deviceID.
class Installation {
public:
    // With a TLS context the installation talks HTTPS.
    Installation(std::uint16_t port, std::string deviceId, boost::asio::ssl::context* tls = nullptr);
    static std::string randomDeviceId();

    const std::string& deviceId() const { return deviceId_; }
    const std::string& userId() const { return userId_; }
    void setUserId(std::string id) { userId_ = std::move(id); }
    void setPort(std::uint16_t port) {
        client_ = HttpTestClient(port, tls_);
        client_.setLocalAddress(localAddress_);
    }
    // Requests come from this loopback address (see HttpTestClient).
    void setLocalAddress(std::string address) {
        localAddress_ = std::move(address);
        client_.setLocalAddress(localAddress_);
    }

    // A signed-in request (userID is this installation's user).
    nlohmann::json call(int action, const HttpTestClient::Fields& fields = {});
    // A request with the anonymous user identifier.
    nlohmann::json anonymous(int action, const HttpTestClient::Fields& fields = {});
    // Registers by e-mail and keeps the new user identifier.
    std::string registerEmail(const std::string& email, const std::string& name);
    nlohmann::json uploadPicture(const std::string& jpeg);
    HttpTestClient& http() { return client_; }

private:
    nlohmann::json send(int action, const HttpTestClient::Fields& fields, const std::string& user);

    boost::asio::ssl::context* tls_;
    HttpTestClient client_;
    std::string deviceId_;
    std::string userId_;
    std::string localAddress_;
};

}  // namespace kelpa::server::testing
