#pragma once

#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kelpa::platform {

class MainQueue;

// Crash reports and usage events, kept in one directory of the installation.
//
// A crash report is a text file crash-<UTC time>-<pid>.txt naming the signal, the time and
// the backtrace of the thread that crashed, written from the signal handler with
// async-signal-safe calls only. Usage events are JSON lines in usage.jsonl.
class CrashKit {
public:
    static constexpr const char* kUsageFile = "usage.jsonl";

    explicit CrashKit(std::filesystem::path directory);

    // Installs the handlers for SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGABRT (a kit started
    // later takes them over), which write a report and then let the signal take its default
    // course. Logs once a report that an earlier run left and that was not logged yet. A
    // second call does nothing.
    void start();
    bool started() const { return started_; }

    // Appends {"at": ISO time, "event": name, "attributes": {...}} as one line. Any thread.
    void logEvent(const std::string& name, const nlohmann::json& attributes = nlohmann::json::object());

    // The reports in the directory, oldest first.
    std::vector<std::filesystem::path> crashReports() const;
    const std::filesystem::path& directory() const { return directory_; }

private:
    void reportEarlierCrash() const;

    const std::filesystem::path directory_;
    const std::shared_ptr<MainQueue> mainQueue_;  // its clock stamps the events
    std::atomic<bool> started_{false};
    std::mutex eventsMutex_;
    bool eventsFailed_ = false;
};

}  // namespace kelpa::platform
