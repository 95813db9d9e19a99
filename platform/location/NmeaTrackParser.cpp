#include "platform/location/NmeaTrackParser.h"

#include "platform/location/TrackValues.h"

#include <fmt/format.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

namespace kelpa::platform {

namespace {

using namespace std::chrono;

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        auto at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool allDigits(std::string_view text) {
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return !text.empty();
}

int twoDigits(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

// "ddmm.mmmm" (latitude) or "dddmm.mmmm" (longitude) with its hemisphere letter.
enum class Coordinate { Ok, Bad, OutOfRange };
Coordinate coordinate(std::string_view text, std::string_view hemisphere, char positive, char negative,
                      double limit, double& degrees) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos) return Coordinate::Bad;
    auto dot = text.find('.');
    if ((dot == std::string_view::npos ? text.size() : dot) < 3) return Coordinate::Bad;
    auto value = TrackValues::number(text);
    if (!value) return Coordinate::Bad;
    double whole = std::floor(*value / 100.0);
    double minutes = *value - whole * 100.0;
    if (minutes >= 60.0) return Coordinate::Bad;
    if (hemisphere.size() != 1 || (hemisphere[0] != positive && hemisphere[0] != negative)) return Coordinate::Bad;
    degrees = whole + minutes / 60.0;
    if (degrees > limit) return Coordinate::OutOfRange;
    if (hemisphere[0] == negative) degrees = -degrees;
    return Coordinate::Ok;
}

// "hhmmss" or "hhmmss.sss" as the time since midnight.
std::optional<nanoseconds> timeOfDay(std::string_view text) {
    auto dot = text.find('.');
    auto whole = text.substr(0, dot);
    if (whole.size() != 6 || !allDigits(whole)) return std::nullopt;
    int h = twoDigits(whole, 0), m = twoDigits(whole, 2), s = twoDigits(whole, 4);
    if (h > 23 || m > 59 || s > 60) return std::nullopt;
    nanoseconds fraction{0};
    if (dot != std::string_view::npos) {
        auto digits = text.substr(dot + 1);
        if (!allDigits(digits)) return std::nullopt;
        long long scale = 100'000'000;
        for (char c : digits) {
            fraction += nanoseconds((c - '0') * scale);
            scale /= 10;
        }
    }
    return hours(h) + minutes(m) + seconds(s) + fraction;
}

// "ddmmyy"; receivers write the year in two digits, and these logs are of this century.
std::optional<sys_days> date(std::string_view text) {
    if (text.size() != 6 || !allDigits(text)) return std::nullopt;
    year_month_day ymd{year{2000 + twoDigits(text, 4)}, month{static_cast<unsigned>(twoDigits(text, 2))},
                       day{static_cast<unsigned>(twoDigits(text, 0))}};
    if (!ymd.ok()) return std::nullopt;
    return sys_days(ymd);
}

class Parser {
public:
    TrackReadResult run(std::string_view text) {
        auto lines = split(text, '\n');
        for (size_t i = 0; i < lines.size(); ++i) {
            line_ = static_cast<long>(i) + 1;
            auto sentence = TrackValues::trimmed(lines[i]);
            if (sentence.empty()) continue;
            if (auto error = take(sentence)) return TrackReadResult::failure(fmt::format("line {}: {}", line_, *error));
        }
        return TrackReadResult{std::move(fixes_), std::nullopt};
    }

private:
    struct Epoch {
        std::string timeText;
        std::string type;
        bool merged = false;
    };

    std::optional<std::string> take(std::string_view sentence) {
        if (sentence[0] != '$' && sentence[0] != '!') return "not an NMEA sentence";
        auto body = sentence.substr(1);
        if (auto star = body.find('*'); star != std::string_view::npos) {
            auto sum = body.substr(star + 1);
            if (sum.size() != 2 || hexDigit(sum[0]) < 0 || hexDigit(sum[1]) < 0) return "bad checksum";
            body = body.substr(0, star);
            unsigned computed = 0;
            for (char c : body) computed ^= static_cast<unsigned char>(c);
            if (computed != static_cast<unsigned>(hexDigit(sum[0]) * 16 + hexDigit(sum[1]))) {
                return fmt::format("checksum mismatch (computed {:02X}, sentence says {})", computed, sum);
            }
        }
        auto fields = split(body, ',');
        auto address = fields[0];
        // Proprietary sentences ("$P...") and anything but a talker and a type are skipped.
        if (address.size() != 5 || address[0] == 'P') return std::nullopt;
        auto type = address.substr(2);
        if (type == "RMC") return rmc(fields);
        if (type == "GGA") return gga(fields);
        return std::nullopt;
    }

    std::optional<std::string> position(std::string_view lat, std::string_view ns, std::string_view lon,
                                        std::string_view ew, TrackFix& fix) {
        switch (coordinate(lat, ns, 'N', 'S', 90.0, fix.latitude)) {
            case Coordinate::Bad: return "bad latitude";
            case Coordinate::OutOfRange: return "latitude out of range";
            case Coordinate::Ok: break;
        }
        switch (coordinate(lon, ew, 'E', 'W', 180.0, fix.longitude)) {
            case Coordinate::Bad: return "bad longitude";
            case Coordinate::OutOfRange: return "longitude out of range";
            case Coordinate::Ok: break;
        }
        return std::nullopt;
    }

    // $--RMC,time,status,lat,N/S,lon,E/W,speed,course,date,variation,E/W[,mode]
    std::optional<std::string> rmc(const std::vector<std::string_view>& f) {
        if (f.size() < 10) return "RMC sentence too short";
        if (f[2] != "A" || (f.size() > 12 && f[12] == "N")) return std::nullopt;
        TrackFix fix;
        if (auto error = position(f[3], f[4], f[5], f[6], fix)) return error;
        auto time = timeOfDay(f[1]);
        if (!time) return "bad time";
        auto day = date(f[9]);
        if (!day) return "bad date";
        lastDate_ = *day;
        lastRmcTime_ = system_clock::time_point(*day + *time);
        fix.time = lastRmcTime_;
        add(fix, f[1], "RMC");
        return std::nullopt;
    }

    // $--GGA,time,lat,N/S,lon,E/W,quality,satellites,hdop,altitude,M,...
    std::optional<std::string> gga(const std::vector<std::string_view>& f) {
        if (f.size() < 10) return "GGA sentence too short";
        if (f[6].empty() || f[6] == "0") return std::nullopt;
        TrackFix fix;
        if (auto error = position(f[2], f[3], f[4], f[5], fix)) return error;
        if (!f[9].empty()) {
            fix.altitude = TrackValues::number(f[9]);
            if (!fix.altitude) return "bad altitude";
        }
        if (!f[1].empty()) {
            auto time = timeOfDay(f[1]);
            if (!time) return "bad time";
            if (lastDate_) {
                auto at = system_clock::time_point(*lastDate_ + *time);
                // Past midnight the last RMC still carries yesterday's date.
                if (lastRmcTime_ && at < *lastRmcTime_ - hours(12)) at += days(1);
                fix.time = at;
            }
        }
        add(fix, f[1], "GGA");
        return std::nullopt;
    }

    void add(const TrackFix& fix, std::string_view timeText, std::string_view type) {
        if (!fixes_.empty() && !timeText.empty() && !epoch_.merged && epoch_.timeText == timeText &&
            epoch_.type != type) {
            auto& last = fixes_.back();
            if (!last.altitude) last.altitude = fix.altitude;
            if (type == "RMC") last.time = fix.time;  // the RMC's own date wins
            if (!last.time) last.time = fix.time;
            epoch_.merged = true;
            return;
        }
        fixes_.push_back(fix);
        epoch_ = Epoch{std::string(timeText), std::string(type), false};
    }

    long line_ = 0;
    std::vector<TrackFix> fixes_;
    Epoch epoch_;
    std::optional<sys_days> lastDate_;
    std::optional<system_clock::time_point> lastRmcTime_;
};

}  // namespace

TrackReadResult NmeaTrackParser::parse(std::string_view text) { return Parser().run(text); }

}  // namespace kelpa::platform
