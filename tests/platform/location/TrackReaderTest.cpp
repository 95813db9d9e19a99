#include "TrackTestTimes.h"

#include "platform/location/TrackReader.h"

#include <gtest/gtest.h>

#include <string>

namespace kelpa::platform {
namespace {

using Format = TrackReader::Format;

TEST(TrackReader, TellsFormatsApartByContent) {
    struct Case {
        std::string text;
        std::optional<Format> format;
    };
    for (const auto& c : {
             Case{"<?xml version=\"1.0\"?><gpx/>", Format::GPX},
             Case{"\xEF\xBB\xBF\r\n  <gpx/>", Format::GPX},
             Case{"$GPRMC,123519,A", Format::NMEA},
             Case{"\n\n!AIVDM,1,1", Format::NMEA},
             Case{"lat,lon\n48.1,11.5\n", std::nullopt},
             Case{"", std::nullopt},
         }) {
        EXPECT_EQ(TrackReader::detectFormat(c.text), c.format) << c.text;
    }
}

TEST(TrackReader, ExplainsWhatItCannotRead) {
    EXPECT_EQ(TrackReader::readString("lat,lon\n48.1,11.5\n").error,
              "unknown track format (expected GPX or NMEA 0183)");
    EXPECT_EQ(TrackReader::readString(" \n").error, "empty track");
}

TEST(TrackReader, ReadsFilesOfEitherFormat) {
    const std::filesystem::path data = KELPA_TRACK_DATA;

    auto walk = TrackReader::readFile(data / "walk.gpx");
    ASSERT_TRUE(walk.ok()) << *walk.error;
    ASSERT_EQ(walk.fixes.size(), 2u);
    EXPECT_EQ(walk.fixes[1], (TrackFix{53.5410, 9.9860, 5.0, utc(2024, 6, 5, 8, 0, 10)}));

    auto drive = TrackReader::readFile(data / "drive.nmea");
    ASSERT_TRUE(drive.ok()) << *drive.error;
    ASSERT_EQ(drive.fixes.size(), 1u);
    EXPECT_EQ(drive.fixes[0].altitude, 545.4);

    auto missing = TrackReader::readFile(data / "missing.gpx");
    EXPECT_EQ(missing.error, "cannot open " + (data / "missing.gpx").string());
}

}  // namespace
}  // namespace kelpa::platform
