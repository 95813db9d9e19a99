#include "server/http/Request.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "server/actions/Refusal.h"

namespace kelpa::server {
namespace {

// Counts code points; nullopt for invalid UTF-8 or control characters other than
// tab and line breaks, which no field of the service needs.
std::optional<std::size_t> utf8Length(const std::string& s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) len = 1, cp = c;
        else if ((c & 0xE0) == 0xC0) len = 2, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0) len = 3, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0) len = 4, cp = c & 0x07;
        else return std::nullopt;
        if (i + len > s.size()) return std::nullopt;
        for (std::size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
        if (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') return std::nullopt;
        if (cp == 0x7F) return std::nullopt;
        i += len;
        ++count;
    }
    return count;
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<std::int64_t> parseId(const std::string& s) {
    if (s.empty() || s.size() > 18) return std::nullopt;
    std::int64_t v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || v <= 0 || s[0] == '0') return std::nullopt;
    return v;
}

}  // namespace

Request::Request(std::map<std::string, std::string> fields, std::map<std::string, std::string> files,
                 std::string clientAddress)
    : fields_(std::move(fields)), files_(std::move(files)), clientAddress_(std::move(clientAddress)) {
    action_ = static_cast<int>(integer("action", 0, 999));
    const std::string& device = raw("deviceID");
    if (device.size() != 32 || !std::all_of(device.begin(), device.end(), isHex))
        throw Refusal("Malformed field deviceID");
    deviceId_ = device;
    for (char& c : deviceId_) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
    if (auto it = fields_.find("userID"); it != fields_.end() && it->second != kAnonymousUser) {
        userId_ = parseId(it->second);
        if (!userId_) throw Refusal("Malformed field userID");
    }
}

bool Request::has(const std::string& name) const { return fields_.contains(name); }

const std::string& Request::raw(const std::string& name) const {
    const auto it = fields_.find(name);
    if (it == fields_.end()) throw Refusal("Missing field " + name);
    return it->second;
}

std::string Request::text(const std::string& name, std::size_t maxChars, bool allowEmpty) const {
    const std::string& value = raw(name);
    const auto length = utf8Length(value);
    if (!length) throw Refusal("Malformed text in field " + name);
    if (*length == 0 && !allowEmpty) throw Refusal("Missing field " + name);
    if (*length > maxChars) throw Refusal("Field " + name + " is too long");
    return value;
}

std::int64_t Request::id(const std::string& name) const {
    const auto v = parseId(raw(name));
    if (!v) throw Refusal("Malformed field " + name);
    return *v;
}

std::int64_t Request::integer(const std::string& name, std::int64_t min, std::int64_t max) const {
    const std::string& s = raw(name);
    std::int64_t v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || s.size() > 19 || ec != std::errc() || p != s.data() + s.size())
        throw Refusal("Malformed field " + name);
    if (v < min || v > max) throw Refusal("Field " + name + " is out of range");
    return v;
}

double Request::number(const std::string& name, double min, double max) const {
    const std::string& s = raw(name);
    double v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || s.size() > 40 || ec != std::errc() || p != s.data() + s.size() ||
        !std::isfinite(v))
        throw Refusal("Malformed field " + name);
    if (v < min || v > max) throw Refusal("Field " + name + " is out of range");
    return v;
}

const std::string* Request::file(const std::string& name) const {
    const auto it = files_.find(name);
    return it == files_.end() ? nullptr : &it->second;
}

}  // namespace kelpa::server
