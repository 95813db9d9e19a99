// Values that options carry: what is accepted and what becomes a usage error.
#include "cli/Arguments.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace kelpa;
using namespace kelpa::cli;

namespace {

Date local(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

TEST(Arguments, CoordinatesAreTwoDecimalDegreesWithinRange) {
    struct Case {
        const char* text;
        std::optional<Coordinate> expected;
    };
    const Case cases[] = {
        {"47.5,11.25", Coordinate{47.5, 11.25}},
        {"-33.9, 151.2", Coordinate{-33.9, 151.2}},
        {"90,180", Coordinate{90, 180}},
        {"-90,-180", Coordinate{-90, -180}},
        {"90.0001,0", std::nullopt},
        {"0,180.5", std::nullopt},
        {"47.5", std::nullopt},
        {"47.5;11.2", std::nullopt},
        {"47.5,11.2,3", std::nullopt},
        {"47.5x,11", std::nullopt},
        {"nan,11", std::nullopt},
        {"inf,0", std::nullopt},
        {",11", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Arguments::coordinate(c.text), c.expected);
    }
}

TEST(Arguments, TravelModesByName) {
    EXPECT_EQ(Arguments::travelMode("car"), 1);
    EXPECT_EQ(Arguments::travelMode("Bike"), 2);
    EXPECT_EQ(Arguments::travelMode("PEDESTRIAN"), 3);
    EXPECT_EQ(Arguments::travelMode("boat"), std::nullopt);
    EXPECT_EQ(Arguments::travelMode(""), std::nullopt);
    EXPECT_EQ(Arguments::travelModeName(2), "bike");
    EXPECT_EQ(Arguments::travelModeName(0), "undefined");
}

TEST(Arguments, DatesAreLocalTimesNowOrSpansFromNow) {
    const Date now = local(2026, 3, 2, 9, 0, 0);
    struct Case {
        const char* text;
        std::optional<Date> expected;
    };
    const Case cases[] = {
        {"2026-03-02T18:30:00", local(2026, 3, 2, 18, 30, 0)},
        {"2026-03-02 18:30:00", local(2026, 3, 2, 18, 30, 0)},
        {"now", now},
        {"NOW", now},
        {"+2h", local(2026, 3, 2, 11, 0, 0)},
        {"+90m", local(2026, 3, 2, 10, 30, 0)},
        {"+1d", local(2026, 3, 3, 9, 0, 0)},
        {"+45", local(2026, 3, 2, 9, 0, 45)},
        {"+0h", std::nullopt},
        {"+-1h", std::nullopt},
        {"+2w", std::nullopt},
        {"2026-03-02T18:30", std::nullopt},
        {"2026-03-02T18:30:00Z", std::nullopt},
        {"2026-13-02T18:30:00", std::nullopt},
        {"tomorrow", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Arguments::dateTime(c.text, now), c.expected);
    }
}

TEST(Arguments, DurationsArePositiveSpans) {
    using namespace std::chrono;
    EXPECT_EQ(Arguments::duration("90"), nanoseconds(seconds(90)));
    EXPECT_EQ(Arguments::duration("90s"), nanoseconds(seconds(90)));
    EXPECT_EQ(Arguments::duration("10m"), nanoseconds(minutes(10)));
    EXPECT_EQ(Arguments::duration("1.5h"), nanoseconds(minutes(90)));
    EXPECT_EQ(Arguments::duration("0"), std::nullopt);
    EXPECT_EQ(Arguments::duration("-5"), std::nullopt);
    EXPECT_EQ(Arguments::duration("5d"), std::nullopt);
    EXPECT_EQ(Arguments::duration("m"), std::nullopt);
}

}  // namespace
