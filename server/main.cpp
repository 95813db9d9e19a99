// kelpa-server: runs until SIGINT or SIGTERM, then shuts down gracefully.
#include <csignal>
#include <cstdio>
#include <exception>

#include <pthread.h>

#include "server/Options.h"
#include "server/Server.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    const auto options = kelpa::server::Options::parse(argc, argv, exitCode);
    if (!options) return exitCode;

    // Block the stop signals in every thread; the main thread waits for them below.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        kelpa::server::Server server(*options);
        server.start();
        std::printf("kelpa-server listening on %s://%s:%u\n", server.scheme(), options->host.c_str(),
                    server.port());
        std::printf("database %s, profiles in %s, text messages to %s\n", options->database.c_str(),
                    options->profiles.c_str(),
                    options->smsWebhook.empty() ? options->smsOutbox.c_str() : options->smsWebhook.c_str());
        std::printf("social sign-in: %s\n", server.socialNetworks().c_str());
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
        std::printf("kelpa-server stopping\n");
        std::fflush(stdout);
        server.stop();
        server.wait();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelpa-server: %s\n", e.what());
        return 1;
    }
    return 0;
}
