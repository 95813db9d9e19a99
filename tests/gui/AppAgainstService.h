#pragma once

// The real app process against a real kelpa-server on loopback, with kelpactl installations
// to set the scene up: the fixture the app-level Qt tests share.
#include "AppProcess.h"
#include "QtApp.h"
#include "tests/e2e/KelpactlRun.h"
#include "tests/server/ServerProcess.h"
#include "tests/server/TestDatabase.h"

#include <gtest/gtest.h>

#include <QImage>

#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace kelpa::testing {

class AppAgainstService : public ::testing::Test {
protected:
    using Path = std::filesystem::path;

    void SetUp() override {
        qtApp();
        root = Path(database.directory()) / "app";
        std::filesystem::create_directories(root / "runtime");
        std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
        std::filesystem::create_directories(shots);
        service.start();
        serviceURL = "http://127.0.0.1:" + std::to_string(service.port());
    }

    // Runs kelpactl and expects it to succeed; its JSON document.
    nlohmann::json ctl(const e2e::KelpactlRun& who, const std::vector<std::string>& args,
                       const std::string& input = "") {
        auto result = who.json(args, input);
        EXPECT_EQ(result.exitCode, 0) << ::testing::PrintToString(args) << "\n" << result.out << result.err;
        return result.json();
    }
    // The latest verification code the service texted to a number ending in these digits.
    std::string lastCodeTo(const std::string& digits) {
        std::ifstream in(service.outboxPath());
        std::string code;
        for (std::string line; std::getline(in, line);) {
            auto message = nlohmann::json::parse(line, nullptr, false);
            if (!message.is_object() || message.value("to", "").find(digits) == std::string::npos) continue;
            std::smatch m;
            const std::string body = message.value("body", "");
            if (std::regex_search(body, m, std::regex(R"(\b\d{4}\b)"))) code = m.str();
        }
        return code;
    }
    // A person signed up with kelpactl, with a verified phone and a completed profile; their
    // identifier. `digits` are the number's last digits as the service's texts show them.
    std::string signUp(const e2e::KelpactlRun& who, const std::string& mail, const std::string& name,
                       const std::string& phone, const std::string& digits) {
        ctl(who, {"register", mail, name, "--password-stdin"}, "secret " + name + "\n");
        ctl(who, {"phone", "send", phone});
        const auto code = lastCodeTo(digits);
        EXPECT_FALSE(code.empty());
        ctl(who, {"phone", "verify", code});
        ctl(who, {"profile", "complete"});
        return ctl(who, {"whoami"})["user"].value("userID", std::string());
    }
    // The app's environment: its installation under root, and the map services it is given.
    std::map<std::string, std::string> appEnvironment(const std::string& tileURL, const std::string& routingURL) const {
        return {{"QT_QPA_PLATFORM", "offscreen"},
                {"KELPA_HOME", (root / "installation").string()},
                {"HOME", root.string()},
                {"XDG_RUNTIME_DIR", (root / "runtime").string()},
                {"KELPA_TILE_URL", tileURL},
                {"KELPA_GEOCODER_URL", "http://127.0.0.1:9"},
                {"KELPA_ROUTING_URL", routingURL},
                {"KELPA_DIRECTIONS_URL", "http://127.0.0.1:9/directions"}};
    }
    // An automation command that must succeed; what it answered after "ok ".
    std::string run(const std::string& line) {
        const auto answer = app.command(line);
        EXPECT_TRUE(answer.starts_with("ok")) << line << " -> " << answer << "\n--- app log ---\n" << app.log();
        return answer.size() > 3 ? answer.substr(3) : "";
    }
    // Quits the app: it must exit with 0 and have logged no QML error.
    void quitCleanly() {
        run("quit");
        const int status = app.waitForExit(std::chrono::seconds(10));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "exit status " << status << "\n" << app.log();
        EXPECT_EQ(app.log().find("qrc:/"), std::string::npos) << app.log();
    }
    void screenshot(const std::string& name) {
        const QImage image(QString::fromStdString(run("screenshot " + name)));
        EXPECT_EQ(image.size(), QSize(390, 844));
    }

    server::testing::TestDatabase database{"sqlite"};
    server::testing::ServerProcess service{database.url(), database.directory()};
    std::string serviceURL;
    Path root;
    Path shots = Path(KELPA_SCREENSHOT_DIR);
    AppProcess app{KELPA_GUI_BINARY, Path(database.directory()) / "app.log"};
};

}  // namespace kelpa::testing
