// The real app on the live map of a joined car group, against the real service: another
// member's pin where that member reported, numbered waypoint pins, and the route to a
// waypoint from a loopback routing service, over tiles from a loopback tile server.
#include "AppAgainstService.h"
#include "LoopbackHttpServer.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using e2e::KelpactlRun;

std::string pngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// A plain street-map-like tile: blocks between streets.
std::string tilePicture() {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(QColor(0xf2, 0xef, 0xe9));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0xff, 0xff, 0xff), 7));
    for (int i = 32; i < 256; i += 96) {
        painter.drawLine(i, 0, i + 20, 256);
        painter.drawLine(0, i, 256, i - 16);
    }
    painter.end();
    return pngOf(image);
}

std::string requestPath(const std::string& raw) {
    const auto start = raw.find(' ') + 1;
    return raw.substr(start, raw.find(' ', start) - start);
}

// An OSRM-like answer: a route from the first point to the second with a bend in the middle.
LoopbackHttpServer::Reply route(const std::string& raw) {
    std::smatch m;
    const std::string path = requestPath(raw);
    if (!std::regex_search(path, m, std::regex(R"(/route/v1/\w+/([-\d.]+),([-\d.]+);([-\d.]+),([-\d.]+))"))) {
        return {400, R"({"code":"InvalidUrl"})"};
    }
    const double lon1 = std::stod(m[1]), lat1 = std::stod(m[2]), lon2 = std::stod(m[3]), lat2 = std::stod(m[4]);
    nlohmann::json line = nlohmann::json::array({{lon1, lat1}, {lon2, lat1}, {lon2, lat2}});
    nlohmann::json reply{{"code", "Ok"},
                         {"routes", {{{"geometry", {{"type", "LineString"}, {"coordinates", line}}},
                                      {"distance", 1800.0},
                                      {"duration", 240.0}}}}};
    return {200, reply.dump()};
}

std::string writeTrack(const fs::path& file, double lat, double lon) {
    std::ofstream out(file);
    out << "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"test\"><trk><trkseg>"
        << "<trkpt lat=\"" << lat << "\" lon=\"" << lon << "\"><time>2026-03-02T09:00:00Z</time></trkpt>"
        << "<trkpt lat=\"" << lat + 0.0001 << "\" lon=\"" << lon << "\"><time>2026-03-02T09:00:10Z</time></trkpt>"
        << "</trkseg></trk></gpx>";
    return file.string();
}

class LiveMapTest : public AppAgainstService {
protected:
    LoopbackHttpServer tiles{[picture = tilePicture()](const std::string&) {
        return LoopbackHttpServer::Reply{200, picture, "image/png"};
    }};
    LoopbackHttpServer routing{route};
};

TEST_F(LiveMapTest, TheJoinedGroupsMemberWaypointsAndARouteOnTheMap) {
    // The app's installation and Ann's, set up with kelpactl against the same service.
    KelpactlRun me(root / "installation", serviceURL);
    KelpactlRun ann(fs::path(database.directory()) / "ann", serviceURL);
    ctl(me, {"register", "me@example.org", "Mia", "--password-stdin"}, "secret me\n");
    const auto annID = ctl(ann, {"register", "ann@example.org", "Ann", "--password-stdin"}, "secret ann\n")["user"]["userID"].get<std::string>();
    ctl(me, {"phone", "send", "+49 170 5550101"});
    const auto code = lastCodeTo("1705550101");
    ASSERT_FALSE(code.empty());
    ctl(me, {"phone", "verify", code});
    ctl(me, {"profile", "complete"});
    const auto group = ctl(me, {"group", "create", "--description", "Isar convoy", "--mode", "car", "--start", "now",
                                "--end", "+6h", "--invite", annID, "--waypoint", "48.1500,11.5800", "48.1330,11.5900"});
    const auto groupID = group.value("groupID", std::string());
    ASSERT_FALSE(groupID.empty());
    ctl(me, {"join", groupID});
    ctl(ann, {"share", writeTrack(root / "ann.gpx", 48.1400, 11.5700), "--group", groupID, "--once"});

    app.start({"--service", serviceURL, "--track", writeTrack(root / "me.gpx", 48.1372, 11.5755), "--screenshot-dir",
               shots.string()},
              appEnvironment(tiles.url() + "/{z}/{x}/{y}.png", routing.url()));

    // Signed in at start, the app opens on the map of the joined group.
    run("wait-screen MapViewController 30");
    run("wait-pins map 3 30");
    EXPECT_EQ(run("text groupStatus"), "Isar convoy");
    EXPECT_EQ(run("visible unjoin"), "yes");
    const auto pins = run("pins map");
    EXPECT_NE(pins.find("1 ; 2 ; Ann | synced: "), std::string::npos) << pins;
    EXPECT_EQ(pins.find("Mia"), std::string::npos) << pins;

    run("show-place map 48.1420 11.5800 14");
    run("wait-tiles 20");
    run("select-pin map 2");
    run("wait-routes map 20");
    run("wait-tiles 20");
    screenshot("10-live-map-route");
    ASSERT_FALSE(routing.requests().empty());
    EXPECT_NE(requestPath(routing.requests().back()).find("/route/v1/driving/11.575"), std::string::npos)
        << routing.requests().back();

    run("select-pin map Ann");
    run("settle");
    screenshot("11-live-map-member");

    quitCleanly();
}

}  // namespace
}  // namespace kelpa::testing
