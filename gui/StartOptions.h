#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::gui {

struct StartOutcome;

// How the app was started: its command line and the environment variables it reads.
class StartOptions {
public:
    using Lookup = std::function<std::optional<std::string>(const char* name)>;

    // --service, else none (the client then reads KELPA_SERVICE_URL and the preferences).
    std::optional<std::string> serviceURL;
    // --track FILE with --speed N: positions replayed from a GPX or NMEA file.
    std::optional<std::filesystem::path> track;
    double speed = 1.0;
    // --simulated-radio: Bluetooth LE between processes of this machine, not the adapter.
    bool simulatedRadio = false;
    // --address-book FILE, else KELPA_ADDRESS_BOOK: a vCard file.
    std::optional<std::filesystem::path> addressBook;
    // KELPA_TILE_URL (empty: no tiles), KELPA_GEOCODER_URL, KELPA_ROUTING_URL, and
    // KELPA_DIRECTIONS_URL: the page a waypoint's directions open in the browser.
    std::optional<std::string> tileURL;
    std::optional<std::string> geocoderURL;
    std::optional<std::string> routingURL;
    std::optional<std::string> directionsURL;
    // --self-test: load every page once and report QML errors and warnings.
    bool selfTest = false;
    // --screenshot-dir DIR: where the self-test and the automation hook save pictures.
    std::optional<std::filesystem::path> screenshotDir;
    // Test and automation hook: commands, one a line, from standard input (--automation) or a
    // file (--script FILE).
    bool automation = false;
    std::optional<std::filesystem::path> script;

    // `arguments` without the program's name; `environment` is getenv in the app.
    static StartOutcome parse(const std::vector<std::string>& arguments, const Lookup& environment);
    static Lookup processEnvironment();
};

// The options, or none: then the app prints `message` and exits with `exitCode`.
struct StartOutcome {
    std::optional<StartOptions> options;
    std::string message;
    int exitCode = 0;
};

}  // namespace kelpa::gui
