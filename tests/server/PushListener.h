#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/ssl/context.hpp>
#include <nlohmann/json.hpp>

namespace kelpa::server::testing {

// A device's push connection as the tests see it: connects to /push, collects every frame
// in the background, and lets a test wait (with a deadline) for a push it expects.
class PushListener {
public:
    // With a TLS context the connection is a secure WebSocket.
    PushListener(std::uint16_t port, const std::string& deviceId, const std::string& token,
                 boost::asio::ssl::context* tls = nullptr);
    ~PushListener();

    // Waits until a received push satisfies the predicate; false at the deadline.
    bool waitFor(const std::function<bool(const nlohmann::json&)>& match,
                 std::chrono::milliseconds timeout = std::chrono::seconds(20));
    std::vector<nlohmann::json> received() const;

private:
    struct Connection;
    template <class WebSocket>
    void listen(WebSocket& ws);
    std::unique_ptr<Connection> connection_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<nlohmann::json> pushes_;
    std::thread thread_;
};

}  // namespace kelpa::server::testing
