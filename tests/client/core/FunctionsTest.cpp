#include "TestEnvironment.h"

#include "client/model/DataConversion.h"
#include "client/model/Functions.h"
#include "client/model/KelpaDefaults.h"
#include "client/service/DateFormat.h"
#include "platform/Preferences.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

using namespace kelpa;

TEST(Functions, PasswordHashIsPlainSha256UpToTheFirstZero) {
    EXPECT_EQ(Functions::getHashedStringFromString(""),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Functions::getHashedStringFromString("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Functions::getHashedStringFromString(std::string("abc\0def", 7)), Functions::getHashedStringFromString("abc"));
}

TEST(Functions, PhoneNumbersBecomeInternationalWithoutSpaces) {
    const std::pair<std::string, std::string> cases[] = {
        {"0151 234 567", "+49151234567"},
        {"0151234567", "+49151234567"},       // two characters longer
        {"+49 151 234 567", "+49151234567"},  // keeps its prefix
        {"+43 1 234", "+49431234"},           // the plus sign makes way, the country digits stay
        {"0151\t23\u00A045", "+491512345"},  // tab and no-break space go
        {"030/123-45 (6)", "+4930/123-45(6)"},
        {"0151\n234", "+49151\n234"},         // line breaks are not white space here
        {"\u00FC123", "+49123"},              // the first character, however many bytes
    };
    for (const auto& [typed, formatted] : cases) {
        EXPECT_EQ(Functions::getFormattedPhoneNumberFromPhoneNumber(typed), formatted) << typed;
    }
}

TEST(Functions, NumericMeansDecimalDigitsOfAnyScript) {
    const std::pair<std::string, bool> cases[] = {
        {"1234", true}, {"", true}, {"\u0661\u0662\u0663", true}, {"\uFF11\uFF12", true},
        {"12a", false}, {"-1", false}, {"1.5", false}, {"\u00BD", false}, {" 1", false},
    };
    for (const auto& [text, numeric] : cases) EXPECT_EQ(Functions::isNumeric(text), numeric) << text;
}

TEST(Functions, CommaListsAndHexText) {
    EXPECT_EQ(Functions::getArrayAsCommaSeperatedList({}), "");
    EXPECT_EQ(Functions::getArrayAsCommaSeperatedList({"+491"}), "+491");
    EXPECT_EQ(Functions::getArrayAsCommaSeperatedList({"a", "b", "c"}), "a,b,c");
    EXPECT_EQ(DataConversion::hexadecimalString(""), "");
    EXPECT_EQ(DataConversion::hexadecimalString("\x0A\xFF"), "0aff");
}

TEST(Functions, TheWindowIncludesBothEnds) {
    const auto start = *DateFormat::parseWire("2026-03-02T08:00:00");
    const auto end = *DateFormat::parseWire("2026-03-02T18:00:00");
    EXPECT_TRUE(Functions::date(start, start, end));
    EXPECT_TRUE(Functions::date(end, start, end));
    EXPECT_TRUE(Functions::date(start + std::chrono::hours(1), start, end));
    EXPECT_FALSE(Functions::date(start - std::chrono::seconds(1), start, end));
    EXPECT_FALSE(Functions::date(end + std::chrono::seconds(1), start, end));
}

TEST(Functions, DeviceIdentifierIsMadeOnceAndKept) {
    kelpa::testing::TestEnvironment t;
    std::string fromThreads[4];
    std::vector<std::thread> threads;
    for (auto& slot : fromThreads) threads.emplace_back([&slot] { slot = Functions::getUUID(); });
    for (auto& thread : threads) thread.join();
    const auto id = Functions::getUUID();
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{32}"))) << id;
    for (const auto& other : fromThreads) EXPECT_EQ(other, id);
    EXPECT_EQ(platform::Preferences(t.home() / "preferences.json").string(Functions::kDeviceIDKey), id);

    kelpa::testing::TestEnvironment another;  // another installation
    EXPECT_NE(Functions::getUUID(), id);
}

TEST(KelpaDefaults, SavesReadsAndRemovesTheUserIdentifier) {
    kelpa::testing::TestEnvironment t;
    EXPECT_FALSE(KelpaDefaults::getUserID());
    KelpaDefaults::saveUserID("42");
    EXPECT_EQ(KelpaDefaults::getUserID(), "42");
    EXPECT_EQ(platform::Preferences(t.home() / "preferences.json").string("kUserID"), "42");
    KelpaDefaults::removeUserID();
    EXPECT_FALSE(KelpaDefaults::getUserID());
}

TEST(Functions, DisplayDatesAreLocal) {
    const auto date = *DateFormat::parseWire("2026-03-02T09:05:07");
    EXPECT_EQ(Functions::getStringFromDate(date), "02 Mar 2026, 09:05:07");
}
