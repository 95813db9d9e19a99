#include "server/security/DeviceKeys.h"

#include <gtest/gtest.h>

namespace kelpa::server {
namespace {

TEST(ServerDeviceKeysTest, IsStandardHmacSha256) {
    // RFC 4231, test case 2: stored keys must stay valid whatever library computes them.
    EXPECT_EQ(DeviceKeys("Jefe").keyFor("what do ya want for nothing?"),
              "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
    EXPECT_NE(DeviceKeys("a").keyFor("X"), DeviceKeys("b").keyFor("X"));
    EXPECT_EQ(DeviceKeys::randomSecret().size(), 64u);
}

}  // namespace
}  // namespace kelpa::server
