#include "client/service/DateFormat.h"
#include "client/service/JSONConversion.h"

#include <gtest/gtest.h>

#include <ctime>

using kelpa::DateFormat;
using kelpa::JSONConversion;
using json = nlohmann::json;

namespace {
json with(json value) { return json{{"m", std::move(value)}}; }
const json kMissing = json::object();
}  // namespace

TEST(JSONConversion, Text) {
    const std::pair<json, std::string> cases[] = {
        {with("abc"), "abc"}, {with(12), "12"},       {with(-7), "-7"},       {with(2.5), "2.5"},
        {with(""), ""},       {kMissing, "(null)"},   {with(nullptr), "(null)"},
    };
    for (const auto& [object, expected] : cases) EXPECT_EQ(JSONConversion::text(object, "m"), expected) << object;
    EXPECT_EQ(JSONConversion::unchangedText(kMissing, "m"), std::nullopt);
    EXPECT_EQ(JSONConversion::unchangedText(with("x"), "m"), "x");
}

TEST(JSONConversion, Integer) {
    const std::pair<json, std::int32_t> cases[] = {
        {with(3), 3},          {with("42"), 42},      {with(" -17abc"), -17}, {with("+8"), 8},
        {with("abc"), 0},      {with(2.9), 2},        {with(true), 1},        {kMissing, 0},
        {with(nullptr), 0},    {with(5000000000LL), 2147483647},               {with("-99999999999"), -2147483647 - 1},
        {with(json::array()), 0},
    };
    for (const auto& [object, expected] : cases) EXPECT_EQ(JSONConversion::integer(object, "m"), expected) << object;
}

TEST(JSONConversion, Boolean) {
    const std::pair<json, bool> cases[] = {
        {with(true), true},    {with(false), false}, {with(1), true},      {with(0), false},   {with(0.5), true},
        {with("1"), true},     {with("0"), false},   {with("007"), true},  {with("000"), false},
        {with(" -3"), true},   {with("yes"), true},  {with("Y"), true},    {with("true"), true}, {with("T"), true},
        {with("no"), false},   {with("false"), false}, {with(""), false},  {kMissing, false},  {with(nullptr), false},
    };
    for (const auto& [object, expected] : cases) EXPECT_EQ(JSONConversion::boolean(object, "m"), expected) << object;
}

TEST(JSONConversion, Number) {
    EXPECT_EQ(JSONConversion::number(with(52.5), "m"), 52.5);
    EXPECT_EQ(JSONConversion::number(with("13.25"), "m"), 13.25);
    EXPECT_EQ(JSONConversion::number(with(0), "m"), 0.0);  // the equator is a position
    EXPECT_EQ(JSONConversion::number(with("north"), "m"), std::nullopt);
    EXPECT_EQ(JSONConversion::number(kMissing, "m"), std::nullopt);
}

TEST(DatePattern, OnlyTheExactLocalPatternGivesADate) {
    const std::pair<const char*, bool> cases[] = {
        {"2026-03-02T09:15:30", true},  {"2024-02-29T00:00:00", true},  {"2026-12-31T23:59:59", true},
        {"2026-03-02T09:15:30Z", false}, {"2026-03-02T09:15:30.250", false}, {"2026-03-02T09:15:30+01:00", false},
        {"2026-03-02 09:15:30", false}, {"2026-3-2T9:15:30", false},    {"2026-03-02T24:00:00", false},
        {"2025-02-29T00:00:00", false}, {"2026-13-01T00:00:00", false}, {"", false},
    };
    for (const auto& [text, valid] : cases) {
        EXPECT_EQ(JSONConversion::date(with(text), "m").has_value(), valid) << text;
    }
    EXPECT_FALSE(JSONConversion::date(with(20260302), "m"));
    EXPECT_FALSE(JSONConversion::date(kMissing, "m"));
}

TEST(DatePattern, ReadsAndWritesLocalWallClockTime) {
    // The suites run with TZ=Europe/Berlin: 09:15:30 local is 08:15:30 UTC in winter.
    const auto date = DateFormat::parseWire("2026-03-02T09:15:30");
    ASSERT_TRUE(date);
    EXPECT_EQ(std::chrono::system_clock::to_time_t(*date), 1772439330);
    EXPECT_EQ(DateFormat::formatWire(*date), "2026-03-02T09:15:30");
    const auto summer = DateFormat::parseWire("2026-07-01T12:00:00");
    EXPECT_EQ(DateFormat::formatWire(*summer), "2026-07-01T12:00:00");
}

TEST(DatePattern, OneYearLaterKeepsTheWallClockAndShortensLeapDays) {
    EXPECT_EQ(DateFormat::formatWire(DateFormat::addOneYear(*DateFormat::parseWire("2024-02-29T10:00:00"))),
              "2025-02-28T10:00:00");
    EXPECT_EQ(DateFormat::formatWire(DateFormat::addOneYear(*DateFormat::parseWire("2026-07-01T08:30:00"))),
              "2027-07-01T08:30:00");
}
