#include "server/security/DeviceKeys.h"

#include <gtest/gtest.h>

namespace kelpa::server {
namespace {

TEST(ServerDeviceKeysTest, IsStandardHmacSha256) {
    // RFC 4231, test case 2: stored keys must stay valid whatever library computes them.
    const DeviceKeys keys("Jefe");
    const std::string expected = "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843";
    // Computed, then remembered, then computed again from the keyed state.
    EXPECT_EQ(keys.keyFor("what do ya want for nothing?"), expected);
    EXPECT_EQ(keys.keyFor("what do ya want for nothing?"), expected);
    EXPECT_EQ(keys.digest("what do ya want for nothing?"), expected);
    for (int i = 0; i < 5000; ++i) keys.keyFor("device " + std::to_string(i));
    EXPECT_EQ(keys.keyFor("what do ya want for nothing?"), expected);
    EXPECT_NE(DeviceKeys("a").keyFor("X"), DeviceKeys("b").keyFor("X"));
    EXPECT_EQ(DeviceKeys::randomSecret().size(), 64u);
}

}  // namespace
}  // namespace kelpa::server
