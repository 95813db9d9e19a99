#include "platform/location/TrackReader.h"

#include "platform/location/GpxTrackParser.h"
#include "platform/location/NmeaTrackParser.h"

#include <fstream>
#include <iterator>

namespace kelpa::platform {

namespace {
std::string_view withoutLeadingBlanks(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    auto first = text.find_first_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}
}  // namespace

std::optional<TrackReader::Format> TrackReader::detectFormat(std::string_view text) {
    auto start = withoutLeadingBlanks(text);
    if (start.empty()) return std::nullopt;
    if (start.front() == '<') return Format::GPX;
    if (start.front() == '$' || start.front() == '!') return Format::NMEA;
    return std::nullopt;
}

TrackReadResult TrackReader::readString(std::string_view text) {
    if (withoutLeadingBlanks(text).empty()) return TrackReadResult::failure("empty track");
    auto format = detectFormat(text);
    if (!format) return TrackReadResult::failure("unknown track format (expected GPX or NMEA 0183)");
    auto result = *format == Format::GPX ? GpxTrackParser::parse(text) : NmeaTrackParser::parse(text);
    if (result.ok() && result.fixes.empty()) return TrackReadResult::failure("no positions in track");
    return result;
}

TrackReadResult TrackReader::readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return TrackReadResult::failure("cannot open " + path.string());
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return TrackReadResult::failure("cannot read " + path.string());
    return readString(text);
}

}  // namespace kelpa::platform
