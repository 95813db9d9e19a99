#include "TrackTestTimes.h"

#include "platform/location/GpxTrackParser.h"
#include "platform/location/TrackReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelpa::platform {
namespace {

using namespace std::chrono_literals;

std::string gpx(const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
           body + "</gpx>\n";
}

TEST(GpxTrack, ReadsTrackPointsOfEverySegmentInOrder) {
    auto result = TrackReader::readString(gpx(R"(
<trk><trkseg>
  <trkpt lat="-33.8568" lon="151.2153"><ele>12.5</ele><time>2024-06-05T08:00:00Z</time></trkpt>
  <trkpt lat="-33.8570" lon="151.2160"/>
</trkseg><trkseg>
  <trkpt lat=" 40.7128 " lon="-74.0060"><time>2024-06-05T10:00:01.250+02:00</time></trkpt>
</trkseg></trk>
<trk><trkseg><trkpt lat="0" lon="0"><ele>-3</ele></trkpt></trkseg></trk>
)"));
    ASSERT_TRUE(result.ok()) << *result.error;
    EXPECT_EQ(result.fixes,
              (std::vector<TrackFix>{
                  {-33.8568, 151.2153, 12.5, utc(2024, 6, 5, 8, 0, 0)},
                  {-33.8570, 151.2160, std::nullopt, std::nullopt},
                  {40.7128, -74.0060, std::nullopt, utc(2024, 6, 5, 8, 0, 1, 250ms)},
                  // The equator at the prime meridian is a position like any other.
                  {0.0, 0.0, -3.0, std::nullopt},
              }));
}

TEST(GpxTrack, PrefersTracksThenRoutesThenWaypoints) {
    struct Case {
        const char* name;
        std::string body;
        std::vector<double> latitudes;
    };
    const std::string wpt = R"(<wpt lat="1" lon="1"/><wpt lat="2" lon="2"/>)";
    const std::string rte = R"(<rte><rtept lat="3" lon="3"/></rte><rte><rtept lat="4" lon="4"/></rte>)";
    const std::string trk = R"(<trk><trkseg><trkpt lat="5" lon="5"/></trkseg></trk>)";
    for (const auto& c : {
             Case{"waypoints only", wpt, {1, 2}},
             Case{"routes over waypoints", wpt + rte, {3, 4}},
             Case{"track over the rest", wpt + rte + trk, {5}},
         }) {
        auto result = TrackReader::readString(gpx(c.body));
        ASSERT_TRUE(result.ok()) << c.name << ": " << *result.error;
        std::vector<double> latitudes;
        for (const auto& fix : result.fixes) latitudes.push_back(fix.latitude);
        EXPECT_EQ(latitudes, c.latitudes) << c.name;
    }
}

TEST(GpxTrack, AcceptsPrefixedElementsAndGpx10) {
    for (const char* text : {
             R"(<gpx:gpx xmlns:gpx="http://www.topografix.com/GPX/1/1"><gpx:trk><gpx:trkseg>
                <gpx:trkpt lat="1.5" lon="2.5"><gpx:ele>7</gpx:ele></gpx:trkpt>
                </gpx:trkseg></gpx:trk></gpx:gpx>)",
             R"(<gpx version="1.0" xmlns="http://www.topografix.com/GPX/1/0"><trk><trkseg>
                <trkpt lat="1.5" lon="2.5"><ele>7</ele></trkpt></trkseg></trk></gpx>)",
         }) {
        auto result = TrackReader::readString(text);
        ASSERT_TRUE(result.ok()) << *result.error;
        EXPECT_EQ(result.fixes, (std::vector<TrackFix>{{1.5, 2.5, 7.0, std::nullopt}}));
    }
}

TEST(GpxTrack, NamesTheElementAndLineOfABadPoint) {
    struct Case {
        std::string point;
        std::string error;
    };
    // The bad point is the second trkpt, on line 4 of the document.
    for (const auto& c : {
             Case{R"(<trkpt lon="1"/>)", "trkpt 2 (line 4): missing latitude"},
             Case{R"(<trkpt lat="1"/>)", "trkpt 2 (line 4): missing longitude"},
             Case{R"(<trkpt lat="north" lon="1"/>)", "trkpt 2 (line 4): bad latitude"},
             Case{R"(<trkpt lat="1" lon="1e2"/>)", "trkpt 2 (line 4): bad longitude"},
             Case{R"(<trkpt lat="nan" lon="1"/>)", "trkpt 2 (line 4): bad latitude"},
             Case{R"(<trkpt lat="90.0001" lon="1"/>)", "trkpt 2 (line 4): latitude out of range"},
             Case{R"(<trkpt lat="1" lon="-180.5"/>)", "trkpt 2 (line 4): longitude out of range"},
             Case{R"(<trkpt lat="1" lon="1"><ele>high</ele></trkpt>)", "trkpt 2 (line 4): bad elevation"},
             Case{R"(<trkpt lat="1" lon="1"><time>yesterday</time></trkpt>)", "trkpt 2 (line 4): bad time"},
         }) {
        auto text = gpx("<trk><trkseg><trkpt lat=\"1\" lon=\"1\"/>\n" + c.point + "\n</trkseg></trk>\n");
        auto result = TrackReader::readString(text);
        EXPECT_EQ(result.error, c.error) << c.point;
        EXPECT_TRUE(result.fixes.empty());
    }
}

TEST(GpxTrack, RejectsDocumentsThatAreNoGpx) {
    struct Case {
        std::string text;
        std::string error;
    };
    for (const auto& c : {
             Case{"<gpx>\n<trk>\n<trkseg></trk></gpx>", "line 3: not well-formed XML (Start-end tags mismatch)"},
             Case{"<kml><Placemark/></kml>", "not a GPX file: root element is <kml>"},
             Case{gpx("<metadata><name>empty</name></metadata>"), "no positions in track"},
         }) {
        EXPECT_EQ(TrackReader::readString(c.text).error, c.error) << c.text;
    }
}

TEST(GpxTime, ReadsXmlDateTimes) {
    struct Case {
        const char* text;
        std::optional<std::chrono::system_clock::time_point> time;
    };
    for (const auto& c : {
             Case{"2024-02-29T23:59:59Z", utc(2024, 2, 29, 23, 59, 59)},
             Case{"2024-03-01T01:30:00+02:00", utc(2024, 2, 29, 23, 30, 0)},
             Case{"2024-02-29T20:00:00-05:30", utc(2024, 3, 1, 1, 30, 0)},
             Case{"2024-06-05T08:00:00.125", utc(2024, 6, 5, 8, 0, 0, 125ms)},
             Case{"2023-02-29T00:00:00Z", std::nullopt},
             Case{"2024-06-05T24:00:00Z", std::nullopt},
             Case{"2024-06-05 08:00:00Z", std::nullopt},
             Case{"2024-06-05T08:00:00.Z", std::nullopt},
             Case{"2024-06-05T08:00:00+0200", std::nullopt},
             Case{"2024-06-05", std::nullopt},
         }) {
        EXPECT_EQ(GpxTrackParser::parseTime(c.text), c.time) << c.text;
    }
}

}  // namespace
}  // namespace kelpa::platform
