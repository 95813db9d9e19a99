#include "platform/Preferences.h"
#include "platform/push/PushToken.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kelpa::platform {
namespace {

TEST(PushToken, IsMadeOncePerInstallationAndKeptAsHex) {
    testing::TestEnvironment t;
    const auto file = t.home() / "preferences.json";
    const auto first = PushToken::installationToken(*t.env().preferences);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size(), 32u);
    EXPECT_NE(*first, std::string(32, '\0'));

    // Another process of the installation reads the same file and gets the same bytes.
    Preferences again(file);
    EXPECT_EQ(PushToken::installationToken(again), first);
    EXPECT_EQ(again.string("kPushToken"), PushToken::hex(*first));
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\"kPushToken\": \"" + PushToken::hex(*first) + "\""), std::string::npos) << text;

    // A second installation has a token of its own.
    Preferences other(t.home() / "other.json");
    EXPECT_NE(PushToken::installationToken(other), first);
}

TEST(PushToken, ReplacesADamagedToken) {
    testing::TestEnvironment t;
    const std::vector<std::string> damagedTokens = {"", "abc", "zz" + std::string(62, '0'), std::string(62, 'a')};
    for (const auto& damaged : damagedTokens) {
        t.env().preferences->set("kPushToken", damaged);
        const auto token = PushToken::installationToken(*t.env().preferences);
        ASSERT_TRUE(token) << damaged;
        EXPECT_EQ(token->size(), 32u) << damaged;
        EXPECT_EQ(t.env().preferences->string("kPushToken"), PushToken::hex(*token));
    }
    t.env().preferences->set("kPushToken", 42);
    EXPECT_EQ(PushToken::installationToken(*t.env().preferences)->size(), 32u);
}

TEST(PushToken, HexIsLowerCaseAndRoundTrips) {
    EXPECT_EQ(PushToken::hex(std::string("\x00\x0a\xff\x7f", 4)), "000aff7f");
    EXPECT_EQ(PushToken::fromHex("000AfF7f"), std::string("\x00\x0a\xff\x7f", 4));
    EXPECT_EQ(PushToken::fromHex(""), std::string());
    EXPECT_EQ(PushToken::fromHex("abc"), std::nullopt);
    EXPECT_EQ(PushToken::fromHex("0g"), std::nullopt);
}

}  // namespace
}  // namespace kelpa::platform
