// Several server processes on one PostgreSQL database: a push made through one process
// reaches a device connected to another (LISTEN/NOTIFY).
#include <gtest/gtest.h>

#include "tests/server/PushListener.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

class ScaleOutTest : public ServerFixture {};

TEST_P(ScaleOutTest, PushCrossesServerProcesses) {
    ServerProcess second(database->url(), database->directory());
    second.start();
    Installation ann = install();
    Installation ben(second.port(), Installation::randomDeviceId());
    ann.registerEmail("ann@example.org", "Ann");
    ben.registerEmail("ben@example.org", "Ben");
    ann.anonymous(106, {{"token", "a1"}});
    PushListener annPushes(server->port(), ann.deviceId(), "a1");

    EXPECT_EQ(ben.call(500, {{"contactID", ann.userId()}}), (json{{"code", 0}}));
    EXPECT_EQ(ben.call(600, {{"text", "from the other process"}, {"toUserID", ann.userId()}}), (json{{"code", 0}}));
    EXPECT_TRUE(annPushes.waitFor([](const json& p) { return p.value("acme-action", 0) == 601; }));
    EXPECT_EQ(ann.call(601, {{"toUserID", ben.userId()}}).at(0).at("text"), "from the other process");
    second.terminate();
}

INSTANTIATE_TEST_SUITE_P(Server, ScaleOutTest, ::testing::Values("postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
