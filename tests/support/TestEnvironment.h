#pragma once

#include "platform/Environment.h"
#include "platform/FakeHttpClient.h"
#include "platform/HeadlessMainQueue.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kelpa::testing {

// Installs a fresh environment for one test: a main queue on a virtual clock (starting at a
// fixed local date), the scripted fake transport, preferences and documents in a private
// temporary directory, and a captured log. The destructor waits for background work and
// removes everything.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    platform::HeadlessMainQueue& loop() { return *loop_; }
    platform::FakeHttpClient& http() { return *http_; }
    platform::Environment& env() { return *env_; }
    const std::filesystem::path& home() const { return home_; }

    // Uses the real libcurl client instead of the fake.
    void useRealNetwork();

    std::vector<std::string> logLines() const;
    bool logged(const std::string& line) const;

    // Runs the main queue until all background work has handed back its results.
    void settle() { loop_->runUntilIdle(); }

private:
    std::filesystem::path home_;
    std::shared_ptr<platform::Environment> env_;
    std::shared_ptr<platform::HeadlessMainQueue> loop_;
    std::shared_ptr<platform::FakeHttpClient> http_;
    mutable std::mutex logMutex_;
    std::vector<std::string> log_;
};

}  // namespace kelpa::testing
