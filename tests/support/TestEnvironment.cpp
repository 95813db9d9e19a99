#include "TestEnvironment.h"

#include "platform/CurlHttpClient.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "platform/WorkerPool.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <random>

namespace kelpa::testing {

namespace {
std::filesystem::path makeTemporaryHome() {
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto dir = std::filesystem::temp_directory_path() / ("kelpa-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(dir)) return dir;
    }
    throw std::runtime_error("cannot make a temporary directory");
}

// 2026-03-02 09:00:00 local time: a fixed, ordinary day for every test.
platform::MainQueue::Clock::time_point startOfTests() {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 2;
    tm.tm_hour = 9;
    tm.tm_isdst = -1;
    return platform::MainQueue::Clock::from_time_t(std::mktime(&tm));
}
}  // namespace

TestEnvironment::TestEnvironment() : home_(makeTemporaryHome()) {
    loop_ = std::make_shared<platform::HeadlessMainQueue>(platform::HeadlessMainQueue::ClockMode::Virtual,
                                                          startOfTests());
    http_ = std::make_shared<platform::FakeHttpClient>();
    env_ = std::make_shared<platform::Environment>();
    env_->mainQueue = loop_;
    env_->workers = std::make_shared<platform::WorkerPool>();
    env_->http = http_;
    env_->preferences = std::make_shared<platform::Preferences>(home_ / "preferences.json");
    env_->notifications = std::make_shared<platform::NotificationCenter>();
    env_->documentsDirectory = home_ / "Documents";
    std::filesystem::create_directories(env_->documentsDirectory);
    env_->logSink = [this](std::string_view line) {
        std::lock_guard lock(logMutex_);
        log_.emplace_back(line);
    };
    platform::Environment::install(env_);
}

TestEnvironment::~TestEnvironment() {
    loop_->runUntilIdle();
    platform::Environment::install(nullptr);
    env_.reset();
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
}

void TestEnvironment::useRealNetwork() { env_->http = std::make_shared<platform::CurlHttpClient>(); }

std::vector<std::string> TestEnvironment::logLines() const {
    std::lock_guard lock(logMutex_);
    return log_;
}

bool TestEnvironment::logged(const std::string& line) const {
    auto lines = logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace kelpa::testing
