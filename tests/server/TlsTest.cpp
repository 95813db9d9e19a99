// kelpa-server with --tls-cert/--tls-key: the API, profile pictures and the push WebSocket
// over TLS, and nothing in the clear.
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "tests/server/Installation.h"
#include "tests/server/PushListener.h"
#include "tests/server/ServerProcess.h"
#include "tests/server/TestCertificate.h"
#include "tests/server/TestDatabase.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

class TlsServer : public ::testing::Test {
protected:
    void SetUp() override {
        certificate = std::make_unique<TestCertificate>(database.directory());
        server = std::make_unique<ServerProcess>(
            database.url(), database.directory(),
            std::vector<std::string>{"--tls-cert", certificate->certificatePath(), "--tls-key",
                                     certificate->keyPath()});
        server->start();
        trusting = certificate->trustingClient();
    }
    void TearDown() override {
        if (server) server->terminate();
    }

    TestDatabase database{"sqlite"};
    std::unique_ptr<TestCertificate> certificate;
    std::unique_ptr<ServerProcess> server;
    std::unique_ptr<boost::asio::ssl::context> trusting;
};

TEST_F(TlsServer, ActionsPicturesAndPushesTravelOverHttps) {
    Installation ann(server->port(), Installation::randomDeviceId(), trusting.get());
    Installation ben(server->port(), Installation::randomDeviceId(), trusting.get());
    ASSERT_FALSE(ann.registerEmail("ann@example.org", "Ann").empty());
    ASSERT_FALSE(ben.registerEmail("ben@example.org", "Ben").empty());
    EXPECT_EQ(ann.anonymous(106, {{"token", "0aff01"}}), json({{"code", 0}}));
    PushListener annPushes(server->port(), ann.deviceId(), "0aff01", trusting.get());

    EXPECT_EQ(ben.call(500, {{"contactID", ann.userId()}}), json({{"code", 0}}));
    EXPECT_EQ(ben.call(600, {{"text", "over TLS"}, {"toUserID", ann.userId()}}), json({{"code", 0}}));
    EXPECT_TRUE(annPushes.waitFor([](const json& p) { return p.value("acme-action", 0) == 601; }));
    const auto chat = ann.call(601, {{"toUserID", ben.userId()}});
    ASSERT_EQ(chat.size(), 1u);
    EXPECT_EQ(chat[0].at("text"), "over TLS");
    EXPECT_EQ(ann.http().get("/Profiles/" + ann.userId()).status, 404);
}

TEST_F(TlsServer, NothingIsServedInTheClearOrToAClientThatCannotTrustIt) {
    HttpTestClient clear(server->port());
    EXPECT_ANY_THROW(clear.post("action=107"));
    const auto suspicious = TestCertificate::suspiciousClient();
    HttpTestClient untrusting(server->port(), suspicious.get());
    EXPECT_ANY_THROW(untrusting.post("action=107"));
    // The server is unharmed by both.
    Installation ann(server->port(), Installation::randomDeviceId(), trusting.get());
    EXPECT_FALSE(ann.registerEmail("ann@example.org", "Ann").empty());
}

TEST(TlsOptions, AServerWithoutAUsableCertificateAndKeyDoesNotStart) {
    TestDatabase database("sqlite");
    const TestCertificate good(database.directory());
    const std::string other = database.directory() + "/other";
    std::filesystem::create_directories(other);
    const TestCertificate unrelated(other);
    const std::string garbage = database.directory() + "/garbage.pem";
    std::ofstream(garbage) << "not a certificate\n";
    const struct {
        const char* name;
        std::vector<std::string> arguments;
    } cases[] = {
        {"certificate without key", {"--tls-cert", good.certificatePath()}},
        {"key without certificate", {"--tls-key", good.keyPath()}},
        {"missing certificate file", {"--tls-cert", database.directory() + "/none.pem", "--tls-key", good.keyPath()}},
        {"certificate that is not PEM", {"--tls-cert", garbage, "--tls-key", good.keyPath()}},
        {"key of another certificate", {"--tls-cert", good.certificatePath(), "--tls-key", unrelated.keyPath()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ServerProcess server(database.url(), database.directory(), c.arguments);
        EXPECT_ANY_THROW(server.start());
    }
}

}  // namespace
}  // namespace kelpa::server::testing
