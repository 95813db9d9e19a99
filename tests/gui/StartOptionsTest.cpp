#include "gui/StartOptions.h"

#include <gtest/gtest.h>

#include <map>

namespace kelpa::testing {
namespace {

using gui::StartOptions;

StartOptions::Lookup environment(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(StartOptionsTest, ReadsEveryOption) {
    auto outcome = StartOptions::parse({"--service", "http://127.0.0.1:9", "--track", "/t.gpx", "--speed", "4",
                                        "--simulated-radio", "--address-book", "/book.vcf", "--screenshot-dir", "/shots",
                                        "--automation"},
                                       environment({}));
    ASSERT_TRUE(outcome.options) << outcome.message;
    const auto& o = *outcome.options;
    EXPECT_EQ(o.serviceURL, "http://127.0.0.1:9");
    EXPECT_EQ(o.track, std::filesystem::path("/t.gpx"));
    EXPECT_EQ(o.speed, 4.0);
    EXPECT_TRUE(o.simulatedRadio);
    EXPECT_EQ(o.addressBook, std::filesystem::path("/book.vcf"));
    EXPECT_EQ(o.screenshotDir, std::filesystem::path("/shots"));
    EXPECT_TRUE(o.automation);
    EXPECT_FALSE(o.selfTest);
    EXPECT_FALSE(o.script);
}

TEST(StartOptionsTest, WithoutOptionsTheEnvironmentDecides) {
    struct Case {
        std::map<std::string, std::string> env;
        std::optional<std::string> tiles;
        std::optional<std::string> geocoder;
        std::optional<std::filesystem::path> book;
        std::optional<std::string> directions = std::nullopt;
    };
    const Case cases[] = {
        {{}, std::nullopt, std::nullopt, std::nullopt},
        {{{"KELPA_TILE_URL", "http://t/{z}/{x}/{y}.png"}, {"KELPA_GEOCODER_URL", "http://g"},
          {"KELPA_ADDRESS_BOOK", "/env.vcf"}, {"KELPA_DIRECTIONS_URL", "http://d/dir"}},
         "http://t/{z}/{x}/{y}.png", "http://g", std::filesystem::path("/env.vcf"), "http://d/dir"},
        // An empty tile address means no tiles at all; empty others mean their defaults.
        {{{"KELPA_TILE_URL", ""}, {"KELPA_GEOCODER_URL", ""}, {"KELPA_ADDRESS_BOOK", ""}, {"KELPA_DIRECTIONS_URL", ""}},
         "", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        auto outcome = StartOptions::parse({}, environment(c.env));
        ASSERT_TRUE(outcome.options);
        EXPECT_EQ(outcome.options->tileURL, c.tiles);
        EXPECT_EQ(outcome.options->geocoderURL, c.geocoder);
        EXPECT_EQ(outcome.options->addressBook, c.book);
        EXPECT_EQ(outcome.options->directionsURL, c.directions);
        EXPECT_FALSE(outcome.options->serviceURL);  // the client reads KELPA_SERVICE_URL itself
    }
}

TEST(StartOptionsTest, TheCommandLineWinsOverTheEnvironment) {
    auto outcome = StartOptions::parse({"--address-book", "/cli.vcf"}, environment({{"KELPA_ADDRESS_BOOK", "/env.vcf"}}));
    ASSERT_TRUE(outcome.options);
    EXPECT_EQ(outcome.options->addressBook, std::filesystem::path("/cli.vcf"));
}

TEST(StartOptionsTest, MistakesEndWithAMessage) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{"--help"}, 0, "--self-test"},
        {{"--speed", "2"}, 2, "--track"},       // a speed needs a track
        {{"--track", "/t.gpx", "--speed", "0"}, 2, "--speed"},
        {{"--bogus"}, 2, "--bogus"},
    };
    for (const auto& c : cases) {
        auto outcome = StartOptions::parse(c.arguments, environment({}));
        EXPECT_FALSE(outcome.options) << c.arguments[0];
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments[0];
        EXPECT_NE(outcome.message.find(c.says), std::string::npos) << outcome.message;
    }
}

}  // namespace
}  // namespace kelpa::testing
