#include "TrackTestTimes.h"

#include "platform/location/TrackReplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace kelpa::platform {
namespace {

using namespace std::chrono_literals;
using Delays = std::vector<std::chrono::nanoseconds>;

TrackFix at(std::optional<std::chrono::system_clock::time_point> time) { return TrackFix{1, 2, std::nullopt, time}; }

Delays delaysOf(const std::vector<ReplayStep>& steps) {
    Delays delays;
    for (const auto& step : steps) delays.push_back(step.delay);
    return delays;
}

TEST(TrackReplay, SpacesFixesAsRecordedDividedByTheSpeed) {
    const auto t0 = utc(2024, 6, 5, 8, 0, 0);
    const std::vector<TrackFix> timed{at(t0), at(t0 + 5s), at(t0 + 7s + 500ms)};
    const std::vector<TrackFix> untimed{at(std::nullopt), at(std::nullopt), at(std::nullopt)};
    const std::vector<TrackFix> mixed{at(t0), at(std::nullopt), at(t0 + 10s)};
    const std::vector<TrackFix> backwards{at(t0 + 10s), at(t0), at(t0 + 3s)};
    const std::vector<TrackFix> thirds{at(t0), at(t0 + 1s), at(t0 + 2s)};
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<TrackFix> fixes;
        double speed;
        std::chrono::nanoseconds interval;
        Delays delays;
    };
    for (const auto& c : {
             Case{"as recorded", timed, 1.0, 1s, {0s, 5s, 7500ms}},
             Case{"twice as fast", timed, 2.0, 1s, {0s, 2500ms, 3750ms}},
             Case{"slow motion", timed, 0.5, 1s, {0s, 10s, 15s}},
             Case{"no times", untimed, 1.0, TrackReplay::defaultInterval, {0s, 1s, 2s}},
             Case{"no times, own interval, fast", untimed, 4.0, 250ms, {0s, 62500us, 125ms}},
             Case{"a gap without times", mixed, 1.0, 1s, {0s, 1s, 2s}},
             Case{"time running backwards", backwards, 1.0, 1s, {0s, 0s, 3s}},
             Case{"no rounding drift", thirds, 3.0, 1s, {0ns, 333333333ns, 666666667ns}},
             Case{"zero speed counts as one", timed, 0.0, 1s, {0s, 5s, 7500ms}},
             Case{"negative speed counts as one", timed, -2.0, 1s, {0s, 5s, 7500ms}},
             Case{"NaN speed counts as one", timed, nan, 1s, {0s, 5s, 7500ms}},
             Case{"nothing to replay", {}, 1.0, 1s, {}},
         }) {
        auto steps = TrackReplay::schedule(c.fixes, c.speed, c.interval);
        EXPECT_EQ(delaysOf(steps), c.delays) << c.name;
        for (size_t i = 0; i < steps.size() && i < c.fixes.size(); ++i) EXPECT_EQ(steps[i].fix, c.fixes[i]);
    }
}

TEST(TrackReplay, ATinySpeedSaturatesInsteadOfOverflowing) {
    const auto t0 = utc(2024, 6, 5, 8, 0, 0);
    auto steps = TrackReplay::schedule({at(t0), at(t0 + 1h)}, 1e-30);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].delay, std::chrono::nanoseconds::max());
}

}  // namespace
}  // namespace kelpa::platform
