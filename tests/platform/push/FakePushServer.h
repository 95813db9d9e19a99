#pragma once

#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelpa::testing {

// A loopback WebSocket server in the place of the service's push stream. Each connection is
// answered by the next step of a script; the last step answers every connection after it.
class FakePushServer {
public:
    struct Step {
        enum class Kind { Frames, HangUp, Refuse };
        Kind kind = Kind::Frames;
        std::vector<std::string> frames;  // sent as text frames after the upgrade
        bool closeAfterFrames = false;    // then closes the stream, as a dropped connection
        int status = 401;                 // the answer of a refusal, without an upgrade
    };
    static Step frames(std::vector<std::string> frames, bool thenClose = false);
    static Step hangUp();  // accepts the connection and closes it before reading anything
    static Step refuse(int status = 401);

    explicit FakePushServer(std::vector<Step> script);
    ~FakePushServer();
    FakePushServer(const FakePushServer&) = delete;
    FakePushServer& operator=(const FakePushServer&) = delete;

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    int connections() const;
    // The request target of each request received, in order.
    std::vector<std::string> targets() const;
    // Streams kept open that the client closed.
    int closedByClient() const;
    // Waits until the condition (on the counts above) holds; false at the deadline.
    bool waitUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    struct Io;
    class Session;
    void accept();

    std::vector<Step> script_;
    std::unique_ptr<Io> io_;
    int port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::uint64_t changes_ = 0;
    int connections_ = 0;
    int closedByClient_ = 0;
    std::vector<std::string> targets_;
    std::thread thread_;
};

}  // namespace kelpa::testing
