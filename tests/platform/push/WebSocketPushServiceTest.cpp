#include "FakePushServer.h"
#include "PushTestLoop.h"

#include "platform/push/PushToken.h"
#include "platform/push/WebSocketPushService.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kelpa::platform {
namespace {

using kelpa::testing::FakePushServer;
using nlohmann::json;

const std::string kDevice = "0123456789ABCDEF0123456789ABCDEF";
const json kChat = {{"acme-action", 601}};
const json kJoinRequest = {{"acme-action", 302}, {"acme-objectID", "12"}};

class WebSocketPush : public ::testing::Test, protected kelpa::testing::PushTestLoop {
protected:
    std::unique_ptr<WebSocketPushService> makeService(std::function<std::string()> url,
                                                      WebSocketPushService::Options options = quickBackoff()) {
        return std::make_unique<WebSocketPushService>(std::move(url), [] { return kDevice; }, t.env().preferences,
                                                      std::move(options));
    }
    std::unique_ptr<WebSocketPushService> makeService(const FakePushServer& server) {
        return makeService([url = server.url()] { return url; });
    }
    std::string streamOf(const FakePushServer& server) const {
        return "ws://127.0.0.1:" + std::to_string(server.port()) + "/push";
    }
};

TEST_F(WebSocketPush, DeliversEachJsonObjectAndLogsOtherFrames) {
    FakePushServer server(
        {FakePushServer::frames({"not json", "[1,2]", kChat.dump(), "\"text\"", kJoinRequest.dump()})});
    auto push = makeService(server);
    push->registerForRemoteNotifications(receiver);
    ASSERT_TRUE(waitFor([&] { return receiver->payloads.size() == 2; }));

    EXPECT_EQ(receiver->payloads, (std::vector<json>{kChat, kJoinRequest}));
    EXPECT_EQ(linesContaining("push: ignored a frame that is no JSON object").size(), 3u);
    ASSERT_EQ(receiver->tokens.size(), 1u);
    EXPECT_EQ(receiver->tokens[0].size(), 32u);
    EXPECT_EQ(server.targets(),
              std::vector<std::string>{"/push?deviceID=" + kDevice + "&token=" + PushToken::hex(receiver->tokens[0])});
    EXPECT_TRUE(t.logged("push: connected to " + streamOf(server)));
    EXPECT_TRUE(receiver->errors.empty());

    // The stream stays open until the service goes, which closes it.
    EXPECT_EQ(server.connections(), 1);
    EXPECT_EQ(server.closedByClient(), 0);
    push.reset();
    EXPECT_TRUE(server.waitUntil([&] { return server.closedByClient() == 1; }));
}

TEST_F(WebSocketPush, RecoversFromRefusalsHangUpsAndDrops) {
    struct Case {
        const char* name;
        FakePushServer::Step first;
        std::string logStart;  // of the line the first connection leaves, before its reason
        bool firstDelivers;
    };
    const std::string good = json{{"acme-action", 301}}.dump();
    for (auto& c : {
             Case{"refused with 401", FakePushServer::refuse(401),
                  "push: {stream} does not know this device's token yet (HTTP 401)", false},
             Case{"refused with 503", FakePushServer::refuse(503),
                  "push: {stream} refused the connection (HTTP 503)", false},
             Case{"hung up", FakePushServer::hangUp(), "push: cannot open {stream}: ", false},
             Case{"dropped", FakePushServer::frames({kChat.dump()}, true),
                  "push: lost the connection to {stream}: ", true},
             Case{"sent an oversized frame", FakePushServer::frames({std::string(100 * 1024, ' ')}),
                  "push: lost the connection to {stream}: ", false},
         }) {
        SCOPED_TRACE(c.name);
        PushTestLoop fresh;
        FakePushServer server({c.first, FakePushServer::frames({good})});
        auto push = std::make_unique<WebSocketPushService>([url = server.url()] { return url; },
                                                           [] { return kDevice; }, fresh.t.env().preferences,
                                                           quickBackoff());
        push->registerForRemoteNotifications(fresh.receiver);
        ASSERT_TRUE(fresh.waitFor([&] { return fresh.receiver->received(json::parse(good)); }));
        EXPECT_EQ(fresh.receiver->received(kChat), c.firstDelivers);
        EXPECT_EQ(server.connections(), 2);

        std::string start = c.logStart;
        start.replace(start.find("{stream}"), 8, streamOf(server));
        const auto lines = fresh.linesContaining("; retrying in 20 ms");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind(start, 0), 0u) << lines[0];
    }
}

TEST_F(WebSocketPush, BacksOffDoublingToTheMaximumAndStartsOverAfterAGoodConnection) {
    FakePushServer server({FakePushServer::refuse(), FakePushServer::refuse(), FakePushServer::refuse(),
                           FakePushServer::refuse(), FakePushServer::frames({}, true), FakePushServer::refuse(),
                           FakePushServer::frames({kChat.dump()})});
    auto push = makeService(server);
    push->registerForRemoteNotifications(receiver);
    ASSERT_TRUE(waitFor([&] { return receiver->received(kChat); }));
    EXPECT_EQ(retryDelays(), (std::vector<int>{20, 40, 80, 80, 20, 40}));
    EXPECT_EQ(linesContaining("push: connected to ").size(), 2u);
}

TEST_F(WebSocketPush, ReadsTheServiceAddressBeforeEveryAttempt) {
    FakePushServer server({FakePushServer::frames({kChat.dump()})});
    std::vector<std::string> urls = {"", "ftp://127.0.0.1", "http://127.0.0.1:1", server.url()};
    std::size_t asked = 0;
    auto push = makeService([&] {
        EXPECT_TRUE(loop->isMainThread());
        return urls[std::min(asked++, urls.size() - 1)];
    });
    push->registerForRemoteNotifications(receiver);
    ASSERT_TRUE(waitFor([&] { return receiver->received(kChat); }));
    EXPECT_EQ(asked, 4u);
    EXPECT_TRUE(t.logged("push: cannot use the service address \"\"; retrying in 20 ms"));
    EXPECT_TRUE(t.logged("push: cannot use the service address \"ftp://127.0.0.1\"; retrying in 40 ms"));
    ASSERT_EQ(linesContaining("push: cannot connect to ws://127.0.0.1:1/push: ").size(), 1u);
}

TEST_F(WebSocketPush, RegisteringAgainReplacesTheReceiverOnTheSameStream) {
    FakePushServer server({FakePushServer::frames({})});
    auto push = makeService(server);
    push->registerForRemoteNotifications(receiver);
    ASSERT_TRUE(waitFor([&] { return !linesContaining("push: connected to").empty(); }));
    auto second = std::make_shared<kelpa::testing::RecordingReceiver>(loop);
    push->registerForRemoteNotifications(second);
    ASSERT_TRUE(waitFor([&] { return second->tokens.size() == 1; }));
    EXPECT_EQ(second->tokens, receiver->tokens);  // one token per installation
    EXPECT_EQ(server.connections(), 1);
}

TEST_F(WebSocketPush, AGoneReceiverIsNotCalled) {
    FakePushServer server({FakePushServer::frames({kChat.dump(), "not json"})});
    auto push = makeService(server);
    push->registerForRemoteNotifications(receiver);
    ASSERT_TRUE(waitFor([&] { return receiver->tokens.size() == 1; }));
    std::weak_ptr<kelpa::testing::RecordingReceiver> gone = receiver;
    receiver.reset();
    ASSERT_TRUE(gone.expired());
    // The push before the malformed frame has been handed over once that frame is logged.
    EXPECT_TRUE(waitFor([&] { return !linesContaining("push: ignored a frame").empty(); }));
}

TEST_F(WebSocketPush, StopsPromptlyWhileWaitingToRetry) {
    auto options = quickBackoff();
    options.initialBackoff = std::chrono::minutes(1);
    auto push = makeService([] { return std::string("http://127.0.0.1:1"); }, options);
    push->registerForRemoteNotifications(receiver);
    ASSERT_TRUE(waitFor([&] { return retryDelays().size() == 1; }));
    EXPECT_EQ(retryDelays()[0], 60000);
    const auto before = std::chrono::steady_clock::now();
    push.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
}

}  // namespace
}  // namespace kelpa::platform
