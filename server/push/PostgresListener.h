#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kelpa::server {

// LISTENs on the push channel with a connection of its own and hands every notification
// (from any server process sharing the database) to the sink. Reconnects when the
// connection drops; pushes sent meanwhile are lost, as pushes may be.
class PostgresListener {
public:
    PostgresListener(std::string url, std::string channel, std::function<void(std::string)> sink);
    ~PostgresListener();
    PostgresListener(const PostgresListener&) = delete;
    PostgresListener& operator=(const PostgresListener&) = delete;

    // Blocks until the first LISTEN is in place, so no push of a later commit is missed.
    void waitUntilListening();

private:
    void loop();

    std::string url_;
    std::string channel_;
    std::function<void(std::string)> sink_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> listening_{false};
    std::thread thread_;
};

}  // namespace kelpa::server
