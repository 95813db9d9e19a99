#include "server/WallClock.h"

#include <ctime>

#include <fmt/format.h>

namespace kelpa::server {
namespace {

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t year;
    unsigned month, day;
};

Civil civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool digits(std::string_view text, std::size_t from, std::size_t count, unsigned& out) {
    out = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        out = out * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return true;
}

unsigned daysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

std::int64_t WallClock::now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return daysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                         static_cast<unsigned>(local.tm_mday)) * 86400 +
           local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

std::string WallClock::format(std::int64_t civilSeconds) {
    std::int64_t days = civilSeconds / 86400;
    std::int64_t rest = civilSeconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const Civil c = civilFromDays(days);
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}", c.year, c.month, c.day, rest / 3600,
                       rest / 60 % 60, rest % 60);
}

std::optional<std::int64_t> WallClock::parse(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    unsigned y, mo, d, h, mi, s;
    if (!digits(text, 0, 4, y) || !digits(text, 5, 2, mo) || !digits(text, 8, 2, d) ||
        !digits(text, 11, 2, h) || !digits(text, 14, 2, mi) || !digits(text, 17, 2, s))
        return std::nullopt;
    if (y < 1970 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 ||
        s > 59)
        return std::nullopt;
    return daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
}

}  // namespace kelpa::server
