#pragma once

#include "RecordingReceiver.h"
#include "TestEnvironment.h"

#include "platform/HeadlessMainQueue.h"
#include "platform/push/WebSocketPushService.h"

#include <chrono>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace kelpa::testing {

// A fresh environment whose main queue runs on the real clock, since the push stream lives
// on a thread of its own and real sockets; waits are for events, bounded by a deadline.
class PushTestLoop {
public:
    PushTestLoop() { t.env().mainQueue = loop; }

    static platform::WebSocketPushService::Options quickBackoff() {
        platform::WebSocketPushService::Options options;
        options.initialBackoff = std::chrono::milliseconds(20);
        options.maximumBackoff = std::chrono::milliseconds(80);
        return options;
    }

    bool waitFor(const std::function<bool()>& condition) { return loop->runUntil(condition, std::chrono::seconds(10)); }

    std::vector<std::string> linesContaining(const std::string& text) const {
        std::vector<std::string> out;
        for (const auto& line : t.logLines())
            if (line.find(text) != std::string::npos) out.push_back(line);
        return out;
    }

    // The delays of the retries logged so far, in order.
    std::vector<int> retryDelays() const {
        static const std::regex retrying("; retrying in ([0-9]+) ms$");
        std::vector<int> out;
        std::smatch match;
        for (const auto& line : t.logLines())
            if (std::regex_search(line, match, retrying)) out.push_back(std::stoi(match[1].str()));
        return out;
    }

    TestEnvironment t;
    std::shared_ptr<platform::HeadlessMainQueue> loop =
        std::make_shared<platform::HeadlessMainQueue>(platform::HeadlessMainQueue::ClockMode::Real);
    std::shared_ptr<RecordingReceiver> receiver = std::make_shared<RecordingReceiver>(loop);
};

}  // namespace kelpa::testing
