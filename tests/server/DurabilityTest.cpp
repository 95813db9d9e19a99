// Every request answered with success survives a SIGKILL of the server mid-stream.
#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include <gmock/gmock.h>

#include "server/WallClock.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

class DurabilityTest : public ServerFixture {};

TEST_P(DurabilityTest, AnsweredWritesSurviveAKill) {
    constexpr int kSenders = 4;
    Installation peer = install();
    peer.registerEmail("peer@example.org", "Peer");
    const auto now = WallClock::now();
    const std::string group = peer.call(300, {{"description", "Crash trip"},
                                              {"startTime", WallClock::format(now - 60)},
                                              {"endTime", WallClock::format(now + 3600)},
                                              {"groupType", "1"}})
                                  .at("groupID");
    std::vector<Installation> senders;
    for (int i = 0; i < kSenders; ++i) {
        senders.push_back(install());
        senders.back().registerEmail("s" + std::to_string(i) + "@example.org", "S");
        ASSERT_EQ(senders.back().call(500, {{"contactID", peer.userId()}}).at("code"), 0);
        ASSERT_EQ(peer.call(306, {{"groupID", group}, {"inviteID", senders.back().userId()}}).at("code"), 0);
        ASSERT_EQ(senders.back().call(305, {{"groupID", group}}).at("code"), 0);
    }

    // Each sender alternates position reports (latitude = sequence number / 1000) and chat
    // messages, remembering what was answered with success.
    std::atomic<int> answered{0};
    std::mutex mutex;
    std::set<std::string> acknowledgedMessages;
    std::map<int, int> lastAcknowledgedPosition;
    std::vector<std::thread> threads;
    for (int s = 0; s < kSenders; ++s) {
        threads.emplace_back([&, s] {
            auto& me = senders[static_cast<std::size_t>(s)];
            for (int i = 1; i < 100000; ++i) {
                try {
                    const bool position = i % 2 == 0;
                    const std::string text = "m-" + std::to_string(s) + "-" + std::to_string(i);
                    const auto reply = position
                        ? me.call(200, {{"lati", std::to_string(i / 1000.0)}, {"longi", "1"}})
                        : me.call(600, {{"text", text}, {"toUserID", peer.userId()}});
                    if (reply.value("code", -1) != 0) return;
                    std::lock_guard lock(mutex);
                    if (position)
                        lastAcknowledgedPosition[s] = i;
                    else
                        acknowledgedMessages.insert(text);
                    ++answered;
                } catch (const std::exception&) {
                    return;  // the server is gone
                }
            }
        });
    }
    // Kill once a fair amount has been answered; waits for the event, not for a time.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (answered < 200 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    server->kill();
    for (auto& t : threads) t.join();
    ASSERT_GE(answered, 200);

    server->start();
    peer.setPort(server->port());
    std::set<std::string> stored;
    for (auto& sender : senders) {
        sender.setPort(server->port());
        for (const auto& m : peer.call(601, {{"toUserID", sender.userId()}})) stored.insert(m.at("text"));
    }
    for (const auto& text : acknowledgedMessages) EXPECT_TRUE(stored.contains(text)) << text;

    std::map<std::string, int> senderOfDevice;
    for (const auto& m : peer.call(309, {{"groupID", group}}))
        for (int s = 0; s < kSenders; ++s)
            if (!m.at("Device").is_null() && m.at("User").at("userID") == senders[static_cast<std::size_t>(s)].userId())
                senderOfDevice[m.at("Device").at("deviceID")] = s;
    for (const auto& p : peer.call(201, {{"groupID", group}})) {
        const int s = senderOfDevice.at(p.at("deviceID"));
        // The stored position is the last acknowledged one or one sent after it.
        EXPECT_GE(p.at("lati").get<double>() * 1000.0 + 0.5, lastAcknowledgedPosition[s]);
    }
}

INSTANTIATE_TEST_SUITE_P(Server, DurabilityTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
