// One hour of a car group of ten members sharing positions, on the virtual clock, through
// the live map screen against a real kelpa-server: every member is an installation of its
// own with a MapViewController on screen and a car driving a track. Prints the requests and
// bytes on the wire and the CPU time this process (all ten clients) spent on the hour.
//   sharing-hour --service http://127.0.0.1:PORT [--no-revalidation] [--minutes 60]
#include "client/location/MapViewController.h"
#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/CurlHttpClient.h"
#include "platform/Environment.h"
#include "platform/HeadlessMainQueue.h"
#include "platform/Image.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "platform/WorkerPool.h"
#include "platform/location/TrackLocationProvider.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <vector>

using namespace kelpa;
using namespace std::chrono_literals;

namespace {

// Takes the ETag question out of every request, so each picture comes in full.
class WithoutRevalidation : public platform::HttpClient {
public:
    explicit WithoutRevalidation(std::shared_ptr<platform::HttpClient> inner) : inner_(std::move(inner)) {}
    std::optional<platform::HttpResponse> send(const platform::HttpRequest& request) override {
        auto copy = request;
        std::erase_if(copy.headers, [](const auto& header) { return header.first == "If-None-Match"; });
        return inner_->send(copy);
    }

private:
    std::shared_ptr<platform::HttpClient> inner_;
};

// A car at about 50 km/h round a circle of its own, a fix every second.
std::filesystem::path writeTrack(const std::filesystem::path& file, int member, int seconds) {
    std::ofstream out(file);
    out << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"sharing-hour\"><trk><trkseg>\n";
    const double centreLat = 48.0 + member * 0.01, centreLon = 11.0;
    const double radius = 0.02;  // degrees of latitude, about 2.2 km
    for (int s = 0; s <= seconds; ++s) {
        const double angle = s * 14.0 / 2200.0;  // 14 m/s along the circle
        out << fmt::format("<trkpt lat=\"{:.7f}\" lon=\"{:.7f}\"><time>2026-12-10T{:02}:{:02}:{:02}Z</time></trkpt>\n",
                           centreLat + radius * std::sin(angle), centreLon + 1.5 * radius * std::cos(angle),
                           s / 3600, s / 60 % 60, s % 60);
    }
    out << "</trkseg></trk></gpx>\n";
    return file;
}

struct Installation {
    std::shared_ptr<platform::Environment> env;
    std::shared_ptr<platform::HeadlessMainQueue> loop;
    std::shared_ptr<platform::CurlHttpClient> curl;
    std::shared_ptr<platform::ui::Window> window;
    std::shared_ptr<MapViewController> map;

    template <class Work>
    auto inside(Work&& work) {
        platform::Environment::Scope scope(env);
        return work();
    }
    void run(std::chrono::nanoseconds span) {
        inside([&] { loop->runFor(span); });
    }
    // Runs until the flag is set; the service answers in real time, the clock stays put.
    bool waitFor(const bool& flag) {
        for (int i = 0; i < 20000 && !flag; ++i) inside([&] { loop->runUntilIdle(); });
        return flag;
    }
};

Installation makeInstallation(const std::filesystem::path& home, const std::string& service, bool revalidate,
                  platform::MainQueue::Clock::time_point start) {
    Installation m;
    std::filesystem::create_directories(home / "Documents");
    m.loop = std::make_shared<platform::HeadlessMainQueue>(platform::HeadlessMainQueue::ClockMode::Virtual, start);
    m.curl = std::make_shared<platform::CurlHttpClient>();
    m.env = std::make_shared<platform::Environment>();
    m.env->mainQueue = m.loop;
    m.env->workers = std::make_shared<platform::WorkerPool>();
    m.env->http = revalidate ? std::shared_ptr<platform::HttpClient>(m.curl) : std::make_shared<WithoutRevalidation>(m.curl);
    m.env->preferences = std::make_shared<platform::Preferences>(home / "preferences.json");
    m.env->notifications = std::make_shared<platform::NotificationCenter>();
    m.env->documentsDirectory = home / "Documents";
    m.env->logSink = [](std::string_view) {};
    m.inside([&] { API::setServiceBaseURL(service); });
    return m;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int fail(const std::string& why) {
    std::cerr << "sharing-hour: " << why << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("One hour of a ten-member car group sharing positions through the live map");
    std::string service;
    bool noRevalidation = false;
    int minutes = 60;
    int members = 10;
    app.add_option("--service", service, "kelpa-server base address")->required();
    app.add_flag("--no-revalidation", noRevalidation, "Fetch every picture in full, without If-None-Match");
    app.add_option("--minutes", minutes, "Virtual minutes to share")->check(CLI::PositiveNumber);
    app.add_option("--members", members, "Members of the group")->check(CLI::Range(2, 50));
    CLI11_PARSE(app, argc, argv);

    const auto work = std::filesystem::temp_directory_path() / fmt::format("kelpa-sharing-hour-{}", ::getpid());
    const auto start = std::chrono::system_clock::now();
    std::vector<Installation> group;
    for (int i = 0; i < members; ++i) group.push_back(makeInstallation(work / fmt::format("m{}", i), service, !noRevalidation, start));

    // Accounts, each with a picture of its own.
    const auto stamp = std::chrono::duration_cast<std::chrono::milliseconds>(start.time_since_epoch()).count();
    std::vector<std::shared_ptr<User>> users(members);
    for (int i = 0; i < members; ++i) {
        bool done = false;
        group[i].inside([&] {
            auto user = std::make_shared<User>();
            user->displayName = fmt::format("Driver {}", i + 1);
            API::registerNewUser(user, fmt::format("driver{}-{}@bench.test", i, stamp),
                                 Functions::getHashedStringFromString("bench secret"), [&](std::int32_t code) {
                                     users[i] = code == 0 ? User::getCurrentUser() : nullptr;
                                     done = true;
                                 });
        });
        if (!group[i].waitFor(done) || !users[i]) return fail("registration failed");
        bool uploaded = false;
        group[i].inside([&] {
            std::vector<std::uint8_t> pixels(256 * 256 * 4);
            for (size_t p = 0; p < pixels.size(); ++p) pixels[p] = static_cast<std::uint8_t>((p * (i + 3)) % 251);
            users[i]->setProfileImage(std::make_shared<const platform::Image>(platform::Image{256, 256, pixels}),
                                      [&](std::int32_t, Info) { uploaded = true; });
        });
        if (!group[i].waitFor(uploaded)) return fail("picture upload failed");
    }

    // The first driver makes the group and invites the others; everybody joins.
    std::optional<std::string> groupID;
    {
        bool done = false;
        group[0].inside([&] {
            auto tour = std::make_shared<Group>();
            tour->jDescription = "Convoy";
            tour->GroupType = 1;
            tour->startTime = start - 1h;
            tour->endTime = start + 1h * (2 + minutes / 60);
            RecordList<User> invited(users.begin() + 1, users.end());
            Group::newGroup(tour, invited, {}, [&, tour](std::int32_t code, Info, Info, Info) {
                if (code == 0) groupID = tour->groupID;
                done = true;
            });
        });
        if (!group[0].waitFor(done) || !groupID) return fail("group creation failed");
    }
    for (int i = 0; i < members; ++i) {
        bool done = false;
        group[i].inside([&] {
            Group::getGroupFromID(*groupID, [&](std::shared_ptr<Group> tour, Info) {
                if (!tour) return void(done = true);
                tour->joinWithCompletitionHandler([&, tour](std::int32_t code, Info) {
                    if (code != 0) return void(done = true);
                    tour->members.reset();
                    tour->loadMembersWithCompletitionHandler([&](auto, Info) { done = true; });
                });
            });
        });
        if (!group[i].waitFor(done) || !group[i].inside([] { return Group::getJoinedGroup() != nullptr; })) {
            return fail("joining failed");
        }
    }

    // Every member opens the live map, with a car under it.
    for (int i = 0; i < members; ++i) {
        auto track = writeTrack(work / fmt::format("m{}.gpx", i), i, minutes * 60 + 5);
        group[i].inside([&] {
            group[i].env->location = platform::TrackLocationProvider::create(track);
            group[i].window = std::make_shared<platform::ui::Window>();
            group[i].map = std::make_shared<MapViewController>();
            group[i].window->setRootViewController(platform::ui::NavigationController::initWithRootViewController(group[i].map));
            group[i].loop->runUntilIdle();
        });
    }

    std::vector<platform::CurlHttpClient::Traffic> before;
    for (auto& m : group) before.push_back(m.curl->traffic());
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    for (int s = 0; s < minutes * 60; ++s) {
        for (auto& m : group) m.run(1s);
    }
    for (auto& m : group) m.inside([&] { m.loop->runUntilIdle(); });
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();

    platform::CurlHttpClient::Traffic total;
    for (size_t i = 0; i < group.size(); ++i) {
        auto after = group[i].curl->traffic();
        total.exchanges += after.exchanges - before[i].exchanges;
        total.bytesSent += after.bytesSent - before[i].bytesSent;
        total.bytesReceived += after.bytesReceived - before[i].bytesReceived;
    }
    const double n = members;
    std::cout << fmt::format("{} minutes, {} members, pictures {}\n", minutes, members,
                             noRevalidation ? "fetched in full" : "revalidated (If-None-Match)");
    std::cout << fmt::format("  requests        {:>10}  ({:.0f} per member)\n", total.exchanges, total.exchanges / n);
    std::cout << fmt::format("  bytes sent      {:>10}  ({:.0f} per member)\n", total.bytesSent, total.bytesSent / n);
    std::cout << fmt::format("  bytes received  {:>10}  ({:.0f} per member)\n", total.bytesReceived,
                             total.bytesReceived / n);
    std::cout << fmt::format("  client CPU      {:>10.3f} s ({:.3f} s per member)\n", cpu, cpu / n);
    std::cout << fmt::format("  wall time       {:>10.1f} s\n", wall);

    for (auto& m : group) {
        m.inside([&] {
            m.window->setRootViewController(nullptr);
            m.map.reset();
            m.env->location.reset();
            m.loop->runUntilIdle();
        });
    }
    std::error_code ec;
    std::filesystem::remove_all(work, ec);
    return 0;
}
