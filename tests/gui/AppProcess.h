#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kelpa::testing {

// The real kelpa binary as a child process, driven through its automation hook: one command a
// line on its standard input, one answer a line on its standard output. What it logs goes to a
// file.
class AppProcess {
public:
    AppProcess(std::filesystem::path binary, std::filesystem::path logFile);
    ~AppProcess();

    // Starts `binary --automation ARGS...` with these variables added to this process's.
    void start(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment);
    // Sends a command and waits for its answer ("ok ..." or "error ..."); "error no answer"
    // when the app says nothing for `limit` or has gone.
    std::string command(const std::string& line, std::chrono::seconds limit = std::chrono::seconds(90));
    // Waits for the process to end by itself; its exit status, or -1 when it did not in time
    // (then it is killed).
    int waitForExit(std::chrono::seconds limit);
    std::string log() const;

private:
    std::filesystem::path binary_;
    std::filesystem::path logFile_;
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
};

}  // namespace kelpa::testing
