#include "gui/StartOptions.h"

#include <CLI/CLI.hpp>

#include <cstdlib>

namespace kelpa::gui {

StartOptions::Lookup StartOptions::processEnvironment() {
    return [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value) return std::nullopt;
        return std::string(value);
    };
}

StartOutcome StartOptions::parse(const std::vector<std::string>& arguments, const Lookup& environment) {
    CLI::App app{"kelpa: see the people you travel with on a map", "kelpa"};
    StartOptions options;
    std::string service, track, addressBook, screenshotDir, script;
    app.add_option("--service", service, "Service base URL (also KELPA_SERVICE_URL)");
    auto* trackOption = app.add_option("--track", track, "Replay positions from a GPX or NMEA file");
    app.add_option("--speed", options.speed, "Replay the track this many times as fast")
        ->needs(trackOption)
        ->check(CLI::PositiveNumber);
    app.add_flag("--simulated-radio", options.simulatedRadio,
                 "Bluetooth LE between the processes of this machine instead of the adapter");
    app.add_option("--address-book", addressBook, "The address book as a vCard file (also KELPA_ADDRESS_BOOK)");
    app.add_flag("--self-test", options.selfTest, "Load every screen once and exit non-zero on any QML error or warning");
    app.add_option("--screenshot-dir", screenshotDir, "Where the self-test and the automation hook save screenshots");
    app.add_flag("--automation", options.automation, "Test hook: read commands from standard input, one a line");
    app.add_option("--script", script, "Test hook: run the commands of a file");

    std::vector<const char*> argv{"kelpa"};
    for (const auto& argument : arguments) argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, app.help(), 0};
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, std::string(error.what()) + "\nRun with --help for more information.", 2};
    }

    if (!service.empty()) options.serviceURL = service;
    if (!track.empty()) options.track = track;
    if (!addressBook.empty()) options.addressBook = addressBook;
    else if (auto file = environment("KELPA_ADDRESS_BOOK"); file && !file->empty()) options.addressBook = *file;
    if (!screenshotDir.empty()) options.screenshotDir = screenshotDir;
    if (!script.empty()) options.script = script;
    options.tileURL = environment("KELPA_TILE_URL");
    if (auto url = environment("KELPA_GEOCODER_URL"); url && !url->empty()) options.geocoderURL = *url;
    if (auto url = environment("KELPA_ROUTING_URL"); url && !url->empty()) options.routingURL = *url;
    if (auto url = environment("KELPA_DIRECTIONS_URL"); url && !url->empty()) options.directionsURL = *url;
    return {options, {}, 0};
}

}  // namespace kelpa::gui
