#include "cli/Arguments.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>

namespace kelpa::cli {

namespace {
std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// A positive count followed by one unit letter from `units`; the unit is returned in `unit`.
std::optional<double> countWithUnit(std::string_view text, std::string_view units, char defaultUnit, char& unit) {
    unit = defaultUnit;
    if (!text.empty() && units.find(text.back()) != std::string_view::npos) {
        unit = text.back();
        text.remove_suffix(1);
    }
    auto count = Arguments::number(text);
    if (!count || *count <= 0) return std::nullopt;
    return count;
}

std::chrono::nanoseconds span(double count, char unit) {
    double seconds = count;
    switch (unit) {
        case 'm': seconds *= 60; break;
        case 'h': seconds *= 3600; break;
        case 'd': seconds *= 86400; break;
        default: break;
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double>(seconds));
}
}  // namespace

std::optional<double> Arguments::number(std::string_view text) {
    if (text.empty() || text.front() == '+') return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<Coordinate> Arguments::coordinate(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    auto latitude = number(trimmed(text.substr(0, comma)));
    auto longitude = number(trimmed(text.substr(comma + 1)));
    if (!latitude || !longitude) return std::nullopt;
    if (*latitude < -90 || *latitude > 90 || *longitude < -180 || *longitude > 180) return std::nullopt;
    return Coordinate{*latitude, *longitude};
}

std::optional<std::int32_t> Arguments::travelMode(std::string_view text) {
    const auto name = lower(text);
    if (name == "car") return 1;
    if (name == "bike") return 2;
    if (name == "pedestrian") return 3;
    return std::nullopt;
}

std::string Arguments::travelModeName(std::int32_t mode) {
    switch (mode) {
        case 1: return "car";
        case 2: return "bike";
        case 3: return "pedestrian";
        default: return "undefined";
    }
}

std::optional<Date> Arguments::dateTime(std::string_view text, Date now) {
    text = trimmed(text);
    if (lower(text) == "now") return now;
    if (!text.empty() && text.front() == '+') {
        char unit = 's';
        auto count = countWithUnit(text.substr(1), "smhd", 's', unit);
        if (!count) return std::nullopt;
        return now + std::chrono::duration_cast<Date::duration>(span(*count, unit));
    }
    std::string wire(text);
    if (wire.size() > 10 && wire[10] == ' ') wire[10] = 'T';
    return DateFormat::parseWire(wire);
}

std::optional<std::chrono::nanoseconds> Arguments::duration(std::string_view text) {
    char unit = 's';
    auto count = countWithUnit(trimmed(text), "smh", 's', unit);
    if (!count) return std::nullopt;
    return span(*count, unit);
}

}  // namespace kelpa::cli
