#include "platform/location/GpxTrackParser.h"

#include "platform/location/TrackValues.h"

#include <fmt/format.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace kelpa::platform {

namespace {

// Files use the default namespace or a "gpx:" prefix; both name the same element.
std::string_view localName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    auto colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::vector<pugi::xml_node> children(const pugi::xml_node& parent, std::string_view name) {
    std::vector<pugi::xml_node> found;
    for (auto child : parent.children()) {
        if (child.type() == pugi::node_element && localName(child) == name) found.push_back(child);
    }
    return found;
}

pugi::xml_node child(const pugi::xml_node& parent, std::string_view name) {
    for (auto node : parent.children()) {
        if (node.type() == pugi::node_element && localName(node) == name) return node;
    }
    return {};
}

// Collects the points that are replayed: tracks first, else routes, else waypoints.
std::vector<pugi::xml_node> pointsOf(const pugi::xml_node& gpx) {
    std::vector<pugi::xml_node> points;
    for (auto trk : children(gpx, "trk")) {
        for (auto segment : children(trk, "trkseg")) {
            auto found = children(segment, "trkpt");
            points.insert(points.end(), found.begin(), found.end());
        }
    }
    if (!points.empty()) return points;
    for (auto rte : children(gpx, "rte")) {
        auto found = children(rte, "rtept");
        points.insert(points.end(), found.begin(), found.end());
    }
    if (!points.empty()) return points;
    return children(gpx, "wpt");
}

long lineOf(std::string_view text, std::ptrdiff_t offset) {
    if (offset < 0) return 0;
    auto end = text.begin() + std::min<std::ptrdiff_t>(offset, static_cast<std::ptrdiff_t>(text.size()));
    return 1 + std::count(text.begin(), end, '\n');
}

bool digitsAt(std::string_view text, size_t at, size_t count, int& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::optional<std::chrono::system_clock::time_point> GpxTrackParser::parseTime(std::string_view text) {
    using namespace std::chrono;
    text = TrackValues::trimmed(text);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!digitsAt(text, 0, 4, y) || text.size() < 19 || text[4] != '-' || !digitsAt(text, 5, 2, mo) ||
        text[7] != '-' || !digitsAt(text, 8, 2, d) || (text[10] != 'T' && text[10] != 't') ||
        !digitsAt(text, 11, 2, h) || text[13] != ':' || !digitsAt(text, 14, 2, mi) || text[16] != ':' ||
        !digitsAt(text, 17, 2, s)) {
        return std::nullopt;
    }
    year_month_day date{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    if (!date.ok() || h > 23 || mi > 59 || s > 60) return std::nullopt;

    size_t at = 19;
    nanoseconds fraction{0};
    if (at < text.size() && text[at] == '.') {
        ++at;
        size_t digits = 0;
        long long scale = 100'000'000;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            fraction += nanoseconds((text[at] - '0') * scale);
            scale /= 10;
            ++at;
            ++digits;
        }
        if (digits == 0) return std::nullopt;
    }

    minutes offset{0};
    auto zone = text.substr(at);
    if (zone == "Z" || zone == "z") {
        // UTC
    } else if (zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') && zone[3] == ':') {
        int oh = 0, om = 0;
        if (!digitsAt(zone, 1, 2, oh) || !digitsAt(zone, 4, 2, om) || oh > 23 || om > 59) return std::nullopt;
        offset = hours(oh) + minutes(om);
        if (zone[0] == '-') offset = -offset;
    } else if (!zone.empty()) {
        return std::nullopt;
    }
    auto local = sys_days(date) + hours(h) + minutes(mi) + seconds(s) + fraction;
    return time_point_cast<system_clock::duration>(local - offset);
}

TrackReadResult GpxTrackParser::parse(std::string_view text) {
    pugi::xml_document document;
    auto parsed = document.load_buffer(text.data(), text.size(), pugi::parse_default);
    if (!parsed) {
        return TrackReadResult::failure(
            fmt::format("line {}: not well-formed XML ({})", lineOf(text, parsed.offset), parsed.description()));
    }
    auto gpx = document.document_element();
    if (localName(gpx) != "gpx") {
        return TrackReadResult::failure(fmt::format("not a GPX file: root element is <{}>", gpx.name()));
    }

    TrackReadResult result;
    auto points = pointsOf(gpx);
    int number = 0;
    for (const auto& point : points) {
        ++number;
        auto fail = [&](std::string_view what) {
            return TrackReadResult::failure(fmt::format("{} {} (line {}): {}", localName(point), number,
                                                        lineOf(text, point.offset_debug()), what));
        };
        TrackFix fix;
        auto lat = point.attribute("lat");
        auto lon = point.attribute("lon");
        if (!lat) return fail("missing latitude");
        if (!lon) return fail("missing longitude");
        auto latitude = TrackValues::number(lat.value());
        auto longitude = TrackValues::number(lon.value());
        if (!latitude) return fail("bad latitude");
        if (!longitude) return fail("bad longitude");
        if (!TrackValues::isLatitude(*latitude)) return fail("latitude out of range");
        if (!TrackValues::isLongitude(*longitude)) return fail("longitude out of range");
        fix.latitude = *latitude;
        fix.longitude = *longitude;
        if (auto ele = child(point, "ele")) {
            fix.altitude = TrackValues::number(ele.child_value());
            if (!fix.altitude) return fail("bad elevation");
        }
        if (auto time = child(point, "time")) {
            fix.time = parseTime(time.child_value());
            if (!fix.time) return fail("bad time");
        }
        result.fixes.push_back(fix);
    }
    return result;
}

}  // namespace kelpa::platform
