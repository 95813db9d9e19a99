#include "AppProcess.h"
#include "LoopbackHttpServer.h"
#include "QtApp.h"
#include "tests/server/ServerProcess.h"
#include "tests/server/TestDatabase.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <fstream>
#include <regex>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using server::testing::ServerProcess;
using server::testing::TestDatabase;

// A map tile that says where it is, so screenshots show the map working.
std::string tilePicture(const std::string& path) {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(QColor(0xe9, 0xf1, 0xe4));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0xb8, 0xcc, 0xb0), 2));
    painter.drawRect(0, 0, 255, 255);
    painter.setPen(QPen(QColor(0xff, 0xff, 0xff), 6));
    painter.drawLine(0, 180, 256, 120);
    painter.setPen(QColor(0x7a, 0x8f, 0x72));
    painter.drawText(QRect(0, 0, 256, 256), Qt::AlignCenter, QString::fromStdString(path));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string requestPath(const std::string& raw) {
    const auto start = raw.find(' ') + 1;
    return raw.substr(start, raw.find(' ', start) - start);
}

// A short walk in Munich as a GPX track.
void writeTrack(const fs::path& file) {
    std::ofstream out(file);
    out << R"(<?xml version="1.0"?><gpx version="1.1" creator="test"><trk><trkseg>)"
        << R"(<trkpt lat="48.13743" lon="11.57549"><time>2026-03-02T09:00:00Z</time></trkpt>)"
        << R"(<trkpt lat="48.13760" lon="11.57600"><time>2026-03-02T09:00:10Z</time></trkpt>)"
        << R"(</trkseg></trk></gpx>)";
}

class OnboardingTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp();
        root = fs::path(database.directory()) / "app";
        fs::create_directories(root / "home" / "Pictures");
        fs::create_directories(shots);
        fs::create_directories(root / "runtime");
        fs::permissions(root / "runtime", fs::perms::owner_all);
        QImage face(64, 64, QImage::Format_RGB32);
        face.fill(QColor(0xff, 0x98, 0x00));
        ASSERT_TRUE(face.save(QString::fromStdString((root / "home" / "Pictures" / "me.png").string())));
        writeTrack(root / "walk.gpx");
        service.start();
    }

    // The newest text message the service sent, as the phone would receive it.
    nlohmann::json lastTextMessage() {
        std::ifstream in(service.outboxPath());
        std::string line, last;
        while (std::getline(in, line)) {
            if (!line.empty()) last = line;
        }
        return last.empty() ? nlohmann::json() : nlohmann::json::parse(last, nullptr, false);
    }

    // Runs a command and expects it to succeed; the answer's value.
    std::string run(const std::string& line) {
        const auto answer = app.command(line);
        EXPECT_TRUE(answer.starts_with("ok")) << line << " -> " << answer << "\n--- app log ---\n" << app.log();
        return answer.size() > 3 ? answer.substr(3) : "";
    }
    void screenshot(const std::string& name) {
        const auto path = run("screenshot " + name);
        const QImage image(QString::fromStdString(path));
        EXPECT_EQ(image.size(), QSize(390, 844)) << path;
    }
    void typeInto(const std::string& field, const std::string& text) {
        run("click " + field);
        run("keys " + text);
    }

    TestDatabase database{"sqlite"};
    ServerProcess service{database.url(), database.directory()};
    LoopbackHttpServer tiles{[](const std::string& raw) {
        return LoopbackHttpServer::Reply{200, tilePicture(requestPath(raw)), "image/png"};
    }};
    fs::path root;
    fs::path shots = fs::path(KELPA_SCREENSHOT_DIR);
    AppProcess app{KELPA_GUI_BINARY, fs::path(database.directory()) / "app.log"};
};

TEST_F(OnboardingTest, ANewPersonRegistersVerifiesThePhoneSetsUpTheProfileAndReachesTheTabs) {
    const std::string serviceURL = "http://127.0.0.1:" + std::to_string(service.port());
    app.start({"--service", serviceURL, "--simulated-radio", "--track", (root / "walk.gpx").string(),
               "--screenshot-dir", shots.string()},
              {{"QT_QPA_PLATFORM", "offscreen"},
               {"KELPA_HOME", (root / "installation").string()},
               {"HOME", (root / "home").string()},
               {"XDG_RUNTIME_DIR", (root / "runtime").string()},
               {"KELPA_RADIO_DIR", (root / "radio").string()},
               {"KELPA_TILE_URL", tiles.url() + "/{z}/{x}/{y}.png"},
               {"KELPA_GEOCODER_URL", "http://127.0.0.1:9"},
               {"KELPA_ROUTING_URL", "http://127.0.0.1:9"}});

    // Nobody is signed in: the sign-in screen, its map around the device.
    run("wait-screen AuthViewController 30");
    run("settle");
    run("wait-tiles 20");
    screenshot("01-sign-in");

    run("click registration");
    run("wait-screen RegistrationViewController");
    EXPECT_EQ(run("stack"), "AuthViewController RegistrationViewController");
    typeInto("displayName", "Anna Berg");
    typeInto("email", "anna@example.org");
    typeInto("password", "secret-123");
    run("tap-outside");
    EXPECT_EQ(run("text displayName"), "Anna Berg");
    screenshot("02-registration");
    run("click registrate");

    run("wait-screen PhoneVerificationViewController 30");
    screenshot("03-phone-verification");
    EXPECT_EQ(run("enabled verifyButton"), "no");
    typeInto("phoneNumber", "0170 1234567");
    run("click sendVerificationCode");
    run("wait-enabled verifyButton 30");
    const auto message = lastTextMessage();
    ASSERT_TRUE(message.is_object()) << "no text message went out";
    std::smatch code;
    const std::string body = message.value("body", "");
    ASSERT_TRUE(std::regex_search(body, code, std::regex("[0-9]{4}"))) << body;
    typeInto("verificationCode", code.str());
    screenshot("04-code-entered");
    run("click verifyButton");

    run("wait-screen ProfileSetupViewController 30");
    run("settle");
    EXPECT_EQ(run("text displayname"), "Anna Berg");
    screenshot("05-profile-setup");
    run("click selectFromLibrary");
    run("wait-screen ImagePickerController");
    run("settle");
    screenshot("06-picture-chooser");
    run("click file-me.png");
    run("wait-screen ProfileSetupViewController 30");
    run("settle");
    screenshot("07-profile-picture");

    run("click finish");
    run("wait-screen MapViewController 30");
    run("settle");
    screenshot("08-tabs");
    run("click tab1");
    run("settle");
    EXPECT_EQ(run("front"), "GroupsTableViewController");
    screenshot("09-groups-tab");

    run("quit");
    const int status = app.waitForExit(std::chrono::seconds(10));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "exit status " << status << "\n" << app.log();

    // What QML said while it ran: nothing.
    const std::string log = app.log();
    EXPECT_EQ(log.find("qrc:/"), std::string::npos) << log;
    // The picture went to the service, and the tiles came from the loopback server only.
    const auto userID = nlohmann::json::parse(std::ifstream(root / "installation" / "preferences.json"), nullptr, false)
                            .value("kUserID", std::string());
    EXPECT_FALSE(userID.empty());
    EXPECT_TRUE(fs::exists(fs::path(database.directory()) / "profiles" / (userID + ".jpg"))) << userID;
    EXPECT_FALSE(tiles.requests().empty());
    for (const auto& request : tiles.requests()) {
        EXPECT_NE(LoopbackHttpServer::headOf(request).find("User-Agent: Kelpa/"), std::string::npos);
    }
}

}  // namespace
}  // namespace kelpa::testing
