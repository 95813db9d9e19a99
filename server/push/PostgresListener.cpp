#include "server/push/PostgresListener.h"

#include <libpq-fe.h>
#include <poll.h>

#include <chrono>

#include <fmt/format.h>


namespace kelpa::server {

PostgresListener::PostgresListener(std::string url, std::string channel,
                                   std::function<void(std::string)> sink)
    : url_(std::move(url)), channel_(std::move(channel)), sink_(std::move(sink)), thread_([this] { loop(); }) {}

PostgresListener::~PostgresListener() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void PostgresListener::waitUntilListening() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!listening_ && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void PostgresListener::loop() {
    while (!stopping_) {
        PGconn* conn = PQconnectdb(url_.c_str());
        const std::string listen = fmt::format("LISTEN \"{}\"", channel_);
        PGresult* r = PQstatus(conn) == CONNECTION_OK ? PQexec(conn, listen.c_str()) : nullptr;
        const bool ok = r && PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        if (!ok) {
            fmt::print(stderr, "push listener: {}", PQerrorMessage(conn));
            PQfinish(conn);
            std::this_thread::sleep_for(std::chrono::seconds(1));
            continue;
        }
        listening_ = true;
        // Poll with a short timeout so that shutdown is noticed without a wake-up channel.
        while (!stopping_ && PQstatus(conn) == CONNECTION_OK) {
            pollfd fd{PQsocket(conn), POLLIN, 0};
            if (::poll(&fd, 1, 200) < 0) break;
            if (!PQconsumeInput(conn)) break;
            while (PGnotify* note = PQnotifies(conn)) {
                std::string payload = note->extra;
                PQfreemem(note);
                sink_(std::move(payload));
            }
        }
        PQfinish(conn);
    }
}

}  // namespace kelpa::server
