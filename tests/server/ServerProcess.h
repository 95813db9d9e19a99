#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kelpa::server::testing {

// Runs the real kelpa-server binary on a free loopback port (it binds port 0 and prints the
// port it got), with its files in the given directory.
class ServerProcess {
public:
    ServerProcess(std::string databaseUrl, std::string directory, std::vector<std::string> extraArguments = {});
    ~ServerProcess();

    void start();
    void terminate();  // SIGTERM and wait: the graceful path
    void kill();       // SIGKILL and wait: the crash path
    std::uint16_t port() const { return port_; }
    std::string outboxPath() const { return directory_ + "/sms-outbox.jsonl"; }

private:
    int waitForExit();

    std::string databaseUrl_;
    std::string directory_;
    std::vector<std::string> extraArguments_;
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace kelpa::server::testing
