#pragma once

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>

#include "server/Options.h"

namespace kelpa::server {

class AccessLog;
class ActionRunner;
class DbWorker;
class HttpServer;
class PostgresListener;
class PushHub;
struct HttpContext;
struct Services;

// The whole service: database and migrations, the DB worker, the side pool, the HTTP and
// push endpoints on a small fixed set of I/O threads.
class Server {
public:
    explicit Server(Options options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Opens the database, applies migrations and starts listening; port() is then valid.
    void start();
    std::uint16_t port() const;
    // "https" when serving TLS, else "http".
    const char* scheme() const { return tls_ ? "https" : "http"; }
    // The networks whose sign-ins are accepted ("Facebook, Twitter"), or "off".
    std::string socialNetworks() const;
    // Stops accepting, lets requests in flight finish (bounded), then ends. Thread-safe.
    void stop();
    // Blocks until the server has stopped and every thread has ended.
    void wait();

private:
    void stopWhenIdle(int attempts);
    // Forgets the positions of ended groups now and then every minute.
    void purgePositions();

    Options options_;
    boost::asio::io_context io_;
    boost::asio::thread_pool side_{2};
    std::unique_ptr<PushHub> hub_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<AccessLog> log_;
    std::unique_ptr<PostgresListener> listener_;
    std::unique_ptr<DbWorker> worker_;
    std::unique_ptr<ActionRunner> runner_;
    std::unique_ptr<HttpContext> context_;
    std::unique_ptr<boost::asio::ssl::context> tls_;
    std::unique_ptr<HttpServer> http_;
    std::unique_ptr<boost::asio::steady_timer> stopTimer_;
    std::unique_ptr<boost::asio::steady_timer> purgeTimer_;
    std::vector<std::thread> threads_;
    std::atomic<bool> stopping_{false};
    bool waited_ = false;
};

}  // namespace kelpa::server
