#include "TrackTestTimes.h"

#include "platform/location/TrackReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelpa::platform {
namespace {

using namespace std::chrono_literals;

std::string lines(std::initializer_list<const char*> sentences) {
    std::string text;
    for (const char* sentence : sentences) text += std::string(sentence) + "\r\n";
    return text;
}

TrackReadResult read(std::initializer_list<const char*> sentences) {
    return TrackReader::readString(lines(sentences));
}

TEST(NmeaTrack, RmcAndGgaOfOneInstantBecomeOneFix) {
    auto result = read({
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
    });
    ASSERT_TRUE(result.ok()) << *result.error;
    ASSERT_EQ(result.fixes.size(), 1u);
    const auto& fix = result.fixes[0];
    EXPECT_NEAR(fix.latitude, 48.1173, 1e-9);
    EXPECT_NEAR(fix.longitude, 11.0 + 31.0 / 60.0, 1e-9);
    EXPECT_EQ(fix.altitude, 545.4);
    // A two-digit year is of this century.
    EXPECT_EQ(fix.time, utc(2094, 3, 23, 12, 35, 19));
}

TEST(NmeaTrack, GgaTakesTheDateOfTheLastRmc) {
    auto result = read({
        // Before any RMC a GGA has no date, until the RMC of the same instant supplies it.
        "$GPGGA,101500,5130.000,N,00007.500,W,1,05,1.2,20.5,M,,M,,",
        "$GPRMC,101500,A,5130.000,N,00007.500,W,0.0,0.0,050624,,,A",
        "$GPGGA,101501.5,5130.010,N,00007.510,W,1,05,1.2,,M,,M,,",
        "$GPGGA,101502,5130.020,N,00007.520,W,2,05,1.2,21,M,,M,,",
    });
    ASSERT_TRUE(result.ok()) << *result.error;
    ASSERT_EQ(result.fixes.size(), 3u);
    EXPECT_EQ(result.fixes[0].time, utc(2024, 6, 5, 10, 15, 0));
    EXPECT_EQ(result.fixes[0].altitude, 20.5);
    EXPECT_EQ(result.fixes[1].time, utc(2024, 6, 5, 10, 15, 1, 500ms));
    EXPECT_EQ(result.fixes[1].altitude, std::nullopt);
    EXPECT_EQ(result.fixes[2].time, utc(2024, 6, 5, 10, 15, 2));
    // West of Greenwich is negative.
    EXPECT_NEAR(result.fixes[2].longitude, -(7.52 / 60.0), 1e-9);
}

TEST(NmeaTrack, GgaWithoutAnyRmcHasNoTime) {
    auto result = read({"$GPGGA,101500,5130.000,N,00007.500,W,1,05,1.2,20.5,M,46.9,M,,*6A"});
    ASSERT_TRUE(result.ok()) << *result.error;
    ASSERT_EQ(result.fixes.size(), 1u);
    EXPECT_EQ(result.fixes[0].time, std::nullopt);
}

TEST(NmeaTrack, GgaPastMidnightMovesToTheNextDay) {
    auto result = read({
        "$GNRMC,235959.50,A,3351.000,S,15112.600,E,0.0,0.0,311224,,,A*5A",
        "$GNGGA,000001.00,3351.100,S,15112.700,E,1,10,0.8,12.0,M,,M,,*4E",
    });
    ASSERT_TRUE(result.ok()) << *result.error;
    ASSERT_EQ(result.fixes.size(), 2u);
    EXPECT_EQ(result.fixes[0].time, utc(2024, 12, 31, 23, 59, 59, 500ms));
    EXPECT_EQ(result.fixes[1].time, utc(2025, 1, 1, 0, 0, 1));
    EXPECT_NEAR(result.fixes[1].latitude, -(33.0 + 51.1 / 60.0), 1e-9);
}

TEST(NmeaTrack, SkipsSentencesWithoutAFix) {
    auto result = read({
        "$GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*74",
        "$PGRME,15.0,M,45.0,M,25.0,M*1C",
        "$GPRMC,101501,V,,,,,,,050624,,,N*52",
        "$GPGGA,101502,,,,,0,00,,,M,,M,,*61",
        "!AIVDM,1,1,,A,13u?etPv2;0n:dDPwUM1U1Cb069D,0",
        "$GPRMC,101503,A,5130.000,N,00007.500,W,0.0,0.0,050624,,,N",
        "",
        "$GPRMC,101504,A,5130.000,N,00007.500,W,0.0,0.0,050624,,,A",
    });
    ASSERT_TRUE(result.ok()) << *result.error;
    ASSERT_EQ(result.fixes.size(), 1u);
    EXPECT_EQ(result.fixes[0].time, utc(2024, 6, 5, 10, 15, 4));
}

TEST(NmeaTrack, NamesTheLineOfABadSentence) {
    struct Case {
        const char* sentence;
        std::string error;
    };
    for (const auto& c : {
             Case{"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6B",
                  "line 2: checksum mismatch (computed 6A, sentence says 6B)"},
             Case{"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6", "line 2: bad checksum"},
             Case{"$GPRMC,123519,A,4860.000,N,01131.000,E,,,230394,,", "line 2: bad latitude"},
             Case{"$GPRMC,123519,A,48x7.038,N,01131.000,E,,,230394,,", "line 2: bad latitude"},
             Case{"$GPRMC,123519,A,4807.038,X,01131.000,E,,,230394,,", "line 2: bad latitude"},
             Case{"$GPRMC,123519,A,9100.000,N,01131.000,E,,,230394,,", "line 2: latitude out of range"},
             Case{"$GPGGA,123519,4807.038,N,18100.000,W,1,08,0.9,545.4,M,,M,,", "line 2: longitude out of range"},
             Case{"$GPGGA,123519,4807.038,N,01131.000,,1,08,0.9,545.4,M,,M,,", "line 2: bad longitude"},
             Case{"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,5x5,M,,M,,", "line 2: bad altitude"},
             Case{"$GPRMC,126019,A,4807.038,N,01131.000,E,,,230394,,", "line 2: bad time"},
             Case{"$GPRMC,123519,A,4807.038,N,01131.000,E,,,300223,,", "line 2: bad date"},
             Case{"$GPRMC,123519,A,4807.038,N,01131.000,E", "line 2: RMC sentence too short"},
             Case{"12:00:01 $GPRMC,123519,A", "line 2: not an NMEA sentence"},
         }) {
        auto result = TrackReader::readString(
            lines({"$GPRMC,123518,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W", c.sentence}));
        EXPECT_EQ(result.error, c.error) << c.sentence;
        EXPECT_TRUE(result.fixes.empty());
    }
}

TEST(NmeaTrack, ALogWithoutFixesHasNothingToReplay) {
    EXPECT_EQ(read({"$GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*74"}).error,
              "no positions in track");
}

}  // namespace
}  // namespace kelpa::platform
