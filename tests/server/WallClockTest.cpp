#include "server/WallClock.h"

#include <gtest/gtest.h>

namespace kelpa::server {
namespace {

TEST(ServerWallClockTest, ParsesAndFormatsTheWirePattern) {
    for (const char* text : {"1970-01-01T00:00:00", "2024-02-29T23:59:59", "2026-12-10T08:05:03"}) {
        const auto value = WallClock::parse(text);
        ASSERT_TRUE(value) << text;
        EXPECT_EQ(WallClock::format(*value), text);
    }
    EXPECT_EQ(*WallClock::parse("2024-03-01T00:00:00") - *WallClock::parse("2024-02-28T00:00:00"), 2 * 86400);
}

TEST(ServerWallClockTest, RefusesOtherShapes) {
    for (const char* text : {"2023-02-29T00:00:00", "2024-13-01T00:00:00", "2024-01-01T24:00:00",
                             "2024-01-01T00:00:00Z", "2024-01-01T00:00:00.5", "2024-01-01 00:00:00",
                             "24-01-01T00:00:00", "", "abcd-ef-ghTij:kl:mn"})
        EXPECT_FALSE(WallClock::parse(text)) << text;
}

}  // namespace
}  // namespace kelpa::server
