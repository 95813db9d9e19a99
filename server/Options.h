#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelpa::server {

// The server's command line. Defaults give a working server on a SQLite file in the
// working directory.
struct Options {
    std::string database = "sqlite:kelpa.db";
    std::string host = "127.0.0.1";
    std::uint16_t port = 8080;
    std::string profiles = "profiles";
    std::string smsOutbox = "sms-outbox.jsonl";
    std::string smsWebhook;
    // The social networks whose sign-ins are accepted, and how to check their tokens (JSON).
    std::string socialConfig;
    // HTTPS when both are given: a PEM certificate chain and its PEM private key.
    std::string tlsCert;
    std::string tlsKey;
    std::string accessLog = "-";
    // Network threads; by default half the cores (at least one), leaving the rest to the
    // database worker, its flusher and the side pool.
    int ioThreads = 0;
    int maxDevicesPerUser = 10;
    // Tests and sanitizer builds use libsodium's minimum argon2id cost.
    bool cheapPasswordHashing = false;

    // Parses argv; on --help or an error prints and returns nullopt with the exit code.
    static std::optional<Options> parse(int argc, char** argv, int& exitCode);
};

}  // namespace kelpa::server
