#include "client/service/DateFormat.h"

#include <cctype>
#include <ctime>

namespace kelpa {

namespace {
bool digits(std::string_view text, size_t from, size_t count, int& value) {
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

Date fromLocal(std::tm tm) {
    tm.tm_isdst = -1;  // let the time zone decide whether summer time applies
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

std::tm toLocal(Date date) {
    const std::time_t t = std::chrono::system_clock::to_time_t(date);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}
}  // namespace

std::optional<Date> DateFormat::parseWire(std::string_view text) {
    // yyyy-MM-ddTHH:mm:ss, exactly
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':') {
        return std::nullopt;
    }
    int year, month, day, hour, minute, second;
    if (!digits(text, 0, 4, year) || !digits(text, 5, 2, month) || !digits(text, 8, 2, day) ||
        !digits(text, 11, 2, hour) || !digits(text, 14, 2, minute) || !digits(text, 17, 2, second)) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59) {
        return std::nullopt;
    }
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return fromLocal(tm);
}

std::string DateFormat::formatWire(Date date) {
    const std::tm tm = toLocal(date);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &tm);
    return buffer;
}

Date DateFormat::addOneYear(Date date) {
    const auto subSecond = date - std::chrono::system_clock::from_time_t(std::chrono::system_clock::to_time_t(date));
    std::tm tm = toLocal(date);
    tm.tm_year += 1;
    if (tm.tm_mon == 1 && tm.tm_mday == 29) tm.tm_mday = 28;
    return fromLocal(tm) + subSecond;
}

}  // namespace kelpa
