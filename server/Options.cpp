#include "server/Options.h"

#include <algorithm>
#include <thread>

#include <CLI/CLI.hpp>

namespace kelpa::server {

std::optional<Options> Options::parse(int argc, char** argv, int& exitCode) {
    Options o;
    CLI::App app{"kelpa-server: shares live positions within small travel groups"};
    std::string listen = "127.0.0.1:8080";
    std::string passwordCost = "interactive";
    app.add_option("--db", o.database, "sqlite:PATH or postgresql://...")->capture_default_str();
    app.add_option("--listen", listen, "HOST:PORT to listen on (port 0 picks a free one)")
        ->capture_default_str();
    app.add_option("--profiles", o.profiles, "directory for profile pictures")->capture_default_str();
    auto* outbox = app.add_option("--sms-outbox", o.smsOutbox, "JSON-lines file for text messages")
                       ->capture_default_str();
    app.add_option("--sms-webhook", o.smsWebhook, "URL that text messages are POSTed to")
        ->excludes(outbox);
    app.add_option("--social-config", o.socialConfig,
                   "JSON file with the Facebook and Twitter application credentials (none: no social sign-in)")
        ->check(CLI::ExistingFile);
    auto* tlsCert = app.add_option("--tls-cert", o.tlsCert, "PEM certificate chain: serve HTTPS")
                        ->check(CLI::ExistingFile);
    auto* tlsKey = app.add_option("--tls-key", o.tlsKey, "PEM private key of the certificate")
                       ->check(CLI::ExistingFile);
    tlsCert->needs(tlsKey);
    tlsKey->needs(tlsCert);
    app.add_option("--access-log", o.accessLog, "access log file, - for stderr, off for none")
        ->capture_default_str();
    app.add_option("--io-threads", o.ioThreads, "network threads (0: half the cores)")
        ->check(CLI::Range(0, 64))->capture_default_str();
    app.add_option("--max-devices", o.maxDevicesPerUser, "devices bound per user")
        ->check(CLI::Range(1, 1000))->capture_default_str();
    app.add_option("--password-cost", passwordCost, "argon2id cost: interactive or minimal")
        ->check(CLI::IsMember({"interactive", "minimal"}))->capture_default_str();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        exitCode = app.exit(e);
        return std::nullopt;
    }
    const auto colon = listen.rfind(':');
    try {
        if (colon == std::string::npos) throw std::invalid_argument(listen);
        o.host = listen.substr(0, colon);
        const int port = std::stoi(listen.substr(colon + 1));
        if (port < 0 || port > 65535) throw std::out_of_range(listen);
        o.port = static_cast<std::uint16_t>(port);
    } catch (const std::exception&) {
        std::fprintf(stderr, "--listen expects HOST:PORT, got %s\n", listen.c_str());
        exitCode = 2;
        return std::nullopt;
    }
    o.cheapPasswordHashing = passwordCost == "minimal";
    if (o.ioThreads == 0) o.ioThreads = std::max(1, static_cast<int>(std::thread::hardware_concurrency() / 2));
    return o;
}

}  // namespace kelpa::server
