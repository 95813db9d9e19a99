// The push client against the real kelpa-server: the pushes its actions send, a token that
// is registered only after the first refusal, a restart of the service, and TLS.
#include "PushTestLoop.h"

#include "platform/push/PushToken.h"
#include "platform/push/WebSocketPushService.h"
#include "server/WallClock.h"
#include "tests/server/Installation.h"
#include "tests/server/ServerProcess.h"
#include "tests/server/TestCertificate.h"
#include "tests/server/TestDatabase.h"

#include <gtest/gtest.h>

namespace kelpa::platform {
namespace {

using nlohmann::json;
using server::testing::Installation;
using server::testing::ServerProcess;
using server::testing::TestCertificate;
using server::testing::TestDatabase;

const json kOk = {{"code", 0}};

class ServicePush : public ::testing::Test, protected kelpa::testing::PushTestLoop {
protected:
    void TearDown() override {
        push.reset();
        if (server) server->terminate();
    }

    void startServer(std::vector<std::string> arguments = {}) {
        server = std::make_unique<ServerProcess>(database.url(), database.directory(), std::move(arguments));
        server->start();
    }
    // Read on the main queue before each connection attempt; the test changes it only
    // between runs of the loop.
    std::string baseURL() const { return scheme + "://127.0.0.1:" + std::to_string(server->port()); }
    void startPush(const Installation& device, WebSocketPushService::Options options = quickBackoff()) {
        push = std::make_unique<WebSocketPushService>([this] { return baseURL(); },
                                                      [id = device.deviceId()] { return id; }, t.env().preferences,
                                                      std::move(options));
        push->registerForRemoteNotifications(receiver);
        ASSERT_TRUE(waitFor([&] { return receiver->tokens.size() == 1; }));
    }
    std::string tokenHex() const { return PushToken::hex(receiver->tokens.at(0)); }
    std::size_t connections() const { return linesContaining("push: connected to").size(); }

    TestDatabase database{"sqlite"};
    std::unique_ptr<ServerProcess> server;
    std::string scheme = "http";
    std::unique_ptr<WebSocketPushService> push;
};

TEST_F(ServicePush, DeliversWhatTheServicesActionsPush) {
    startServer();
    Installation ann(server->port(), Installation::randomDeviceId());
    Installation ben(server->port(), Installation::randomDeviceId());
    ASSERT_FALSE(ann.registerEmail("ann@example.org", "Ann").empty());
    ASSERT_FALSE(ben.registerEmail("ben@example.org", "Ben").empty());

    // The app registers the token only once it has it, so the first attempts are refused.
    startPush(ann);
    ASSERT_TRUE(waitFor([&] { return !linesContaining("does not know this device's token yet (HTTP 401)").empty(); }));
    EXPECT_EQ(connections(), 0u);
    EXPECT_EQ(ann.anonymous(106, {{"token", tokenHex()}}), kOk);
    ASSERT_TRUE(waitFor([&] { return connections() == 1; }));

    EXPECT_EQ(ben.call(500, {{"contactID", ann.userId()}}), kOk);
    EXPECT_EQ(ben.call(600, {{"text", "Hi Ann"}, {"toUserID", ann.userId()}}), kOk);
    EXPECT_TRUE(waitFor([&] { return receiver->received({{"acme-action", 601}}); }));

    const auto now = server::WallClock::now();
    const auto created = ann.call(300, {{"description", "Lakes"},
                                        {"startTime", server::WallClock::format(now - 60)},
                                        {"endTime", server::WallClock::format(now + 3600)},
                                        {"groupType", "1"}});
    ASSERT_EQ(created.at("code"), 0);
    const std::string group = created.at("groupID");
    EXPECT_EQ(ben.call(313, {{"groupID", group}}), kOk);
    EXPECT_TRUE(waitFor([&] { return receiver->received({{"acme-action", 302}, {"acme-objectID", ben.userId()}}); }));

    EXPECT_EQ(ann.call(306, {{"groupID", group}, {"inviteID", ben.userId()}}), kOk);
    EXPECT_EQ(ben.call(305, {{"groupID", group}}), kOk);
    EXPECT_TRUE(waitFor([&] { return receiver->received({{"acme-action", 301}}); }));
    EXPECT_EQ(connections(), 1u);
}

TEST_F(ServicePush, ReconnectsWhenTheServiceComesBack) {
    startServer();
    Installation ann(server->port(), Installation::randomDeviceId());
    Installation ben(server->port(), Installation::randomDeviceId());
    ann.registerEmail("ann@example.org", "Ann");
    ben.registerEmail("ben@example.org", "Ben");
    ASSERT_EQ(ben.call(500, {{"contactID", ann.userId()}}), kOk);
    startPush(ann);
    ASSERT_EQ(ann.anonymous(106, {{"token", tokenHex()}}), kOk);
    ASSERT_TRUE(waitFor([&] { return connections() == 1; }));

    server->terminate();
    ASSERT_TRUE(waitFor([&] { return !linesContaining("push: lost the connection to").empty(); }));
    // The same service comes back on the same address; the device keeps its token.
    const auto port = server->port();
    server->start();
    ASSERT_EQ(server->port(), port);
    ASSERT_TRUE(waitFor([&] { return connections() == 2; }));
    EXPECT_EQ(ben.call(600, {{"text", "Back?"}, {"toUserID", ann.userId()}}), kOk);
    EXPECT_TRUE(waitFor([&] { return receiver->received({{"acme-action", 601}}); }));
}

TEST_F(ServicePush, SecureStreamTrustsOnlyWhatItIsToldTo) {
    TestCertificate certificate(database.directory());
    startServer({"--tls-cert", certificate.certificatePath(), "--tls-key", certificate.keyPath()});
    scheme = "https";
    const auto trusting = certificate.trustingClient();
    Installation ann(server->port(), Installation::randomDeviceId(), trusting.get());
    Installation ben(server->port(), Installation::randomDeviceId(), trusting.get());
    ann.registerEmail("ann@example.org", "Ann");
    ben.registerEmail("ben@example.org", "Ben");
    ASSERT_EQ(ben.call(500, {{"contactID", ann.userId()}}), kOk);
    const std::string stream = "wss://127.0.0.1:" + std::to_string(server->port()) + "/push";

    // The system's authorities do not know the test certificate.
    startPush(ann);
    ASSERT_EQ(ann.anonymous(106, {{"token", tokenHex()}}), kOk);
    ASSERT_TRUE(waitFor([&] { return !linesContaining("push: TLS with " + stream + " failed: ").empty(); }));
    EXPECT_EQ(connections(), 0u);
    push.reset();

    auto options = quickBackoff();
    options.extraCAFile = certificate.certificatePath();
    receiver = std::make_shared<kelpa::testing::RecordingReceiver>(loop);
    startPush(ann, options);
    ASSERT_TRUE(waitFor([&] { return connections() == 1; }));
    EXPECT_TRUE(t.logged("push: connected to " + stream));
    EXPECT_EQ(ben.call(600, {{"text", "Secure"}, {"toUserID", ann.userId()}}), kOk);
    EXPECT_TRUE(waitFor([&] { return receiver->received({{"acme-action", 601}}); }));
}

}  // namespace
}  // namespace kelpa::platform
