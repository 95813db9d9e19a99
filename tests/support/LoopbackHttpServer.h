#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kelpa::testing {

// A tiny HTTP/1.1 server on 127.0.0.1 for transport tests: records each request's raw bytes
// and answers from a script. One connection at a time, closed after each reply.
class LoopbackHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        std::string contentType = "application/json";
        bool hangUp = false;   // close the connection without answering
        bool silent = false;   // keep the connection open and never answer
    };
    using Script = std::function<Reply(const std::string& rawRequest)>;

    explicit LoopbackHttpServer(Script script);
    ~LoopbackHttpServer();

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> requests() const;

    // A reply that closes the connection without answering.
    static Reply hangUp() {
        Reply reply;
        reply.hangUp = true;
        return reply;
    }
    // The first line of a raw request ("GET /path HTTP/1.1").
    static std::string requestLine(const std::string& raw) { return raw.substr(0, raw.find("\r\n")); }

    // Splits a raw request into head and body.
    static std::string bodyOf(const std::string& raw);
    static std::string headOf(const std::string& raw);

private:
    void serve();

    Script script_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<int> silentConnections_;
    std::thread thread_;
};

}  // namespace kelpa::testing
