#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/server/FakeSocialNetworks.h"
#include "tests/server/Installation.h"
#include "tests/server/ServerProcess.h"
#include "tests/server/TestDatabase.h"

namespace kelpa::server::testing {

// A running kelpa-server on a fresh database of the engine named by the test parameter,
// taking social sign-ins checked by loopback fakes of the networks.
class ServerFixture : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (!TestDatabase::available(GetParam()))
            GTEST_SKIP() << "KELPA_TEST_POSTGRES_URL is not set";
        database = std::make_unique<TestDatabase>(GetParam());
        social = std::make_unique<FakeSocialNetworks>();
        server = std::make_unique<ServerProcess>(
            database->url(), database->directory(),
            std::vector<std::string>{"--social-config", social->writeConfig(database->directory())});
        server->start();
    }
    void TearDown() override {
        if (server) server->terminate();
    }

    Installation install() { return Installation(server->port(), Installation::randomDeviceId()); }

    std::unique_ptr<FakeSocialNetworks> social;
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<ServerProcess> server;
};

inline std::string engineName(const ::testing::TestParamInfo<std::string>& info) { return info.param; }

}  // namespace kelpa::server::testing
