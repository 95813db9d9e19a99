#include "client/service/JSONConversion.h"

#include "client/service/DateFormat.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kelpa {

namespace {
constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

std::int32_t clamp32(std::int64_t v) { return static_cast<std::int32_t>(std::clamp(v, kMin32, kMax32)); }

// Reads a decimal integer the way a lenient text-to-number conversion does: leading spaces,
// an optional sign, then digits up to the first other character.
std::int32_t integerFromText(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMax32 + 1) break;  // clamps below
    }
    return clamp32(negative ? -value : value);
}
}  // namespace

const JSONConversion::json* JSONConversion::member(const json& object, std::string_view key) {
    if (!object.is_object()) return nullptr;
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) return nullptr;
    return &*it;
}

std::string JSONConversion::valueText(const json& value) {
    switch (value.type()) {
        case json::value_t::string: return value.get<std::string>();
        case json::value_t::number_integer: return std::to_string(value.get<std::int64_t>());
        case json::value_t::number_unsigned: return std::to_string(value.get<std::uint64_t>());
        case json::value_t::number_float: return fmt::format("{}", value.get<double>());
        case json::value_t::boolean: return value.get<bool>() ? "1" : "0";
        case json::value_t::null: return "(null)";
        default: return value.dump();
    }
}

std::optional<std::string> JSONConversion::unchangedText(const json& object, std::string_view key) {
    const json* v = member(object, key);
    if (!v) return std::nullopt;
    return valueText(*v);
}

std::string JSONConversion::text(const json& object, std::string_view key) {
    return unchangedText(object, key).value_or("(null)");
}

std::int32_t JSONConversion::integerValue(const json& value) {
    switch (value.type()) {
        case json::value_t::number_integer: return clamp32(value.get<std::int64_t>());
        case json::value_t::number_unsigned:
            return clamp32(static_cast<std::int64_t>(std::min<std::uint64_t>(value.get<std::uint64_t>(), kMax32)));
        case json::value_t::number_float: {
            const double d = value.get<double>();
            if (std::isnan(d)) return 0;
            return clamp32(static_cast<std::int64_t>(std::clamp(d, double(kMin32), double(kMax32))));
        }
        case json::value_t::boolean: return value.get<bool>() ? 1 : 0;
        case json::value_t::string: return integerFromText(value.get_ref<const std::string&>());
        default: return 0;
    }
}

std::int32_t JSONConversion::integer(const json& object, std::string_view key) {
    const json* v = member(object, key);
    return v ? integerValue(*v) : 0;
}

bool JSONConversion::boolean(const json& object, std::string_view key) {
    const json* v = member(object, key);
    if (!v) return false;
    if (v->is_boolean()) return v->get<bool>();
    if (v->is_number()) return v->get<double>() != 0.0;
    if (!v->is_string()) return false;
    const auto& s = v->get_ref<const std::string&>();
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && s[i] == '0') ++i;
    if (i == s.size()) return false;
    const char c = s[i];
    return (c >= '1' && c <= '9') || c == 'Y' || c == 'y' || c == 'T' || c == 't';
}

std::optional<double> JSONConversion::number(const json& object, std::string_view key) {
    const json* v = member(object, key);
    if (!v) return std::nullopt;
    if (v->is_number()) return v->get<double>();
    if (v->is_string()) {
        const auto& s = v->get_ref<const std::string&>();
        char* end = nullptr;
        const double d = std::strtod(s.c_str(), &end);
        if (end != s.c_str() && std::isfinite(d)) return d;
    }
    return std::nullopt;
}

std::optional<Date> JSONConversion::date(const json& object, std::string_view key) {
    const json* v = member(object, key);
    if (!v || !v->is_string()) return std::nullopt;
    return DateFormat::parseWire(v->get_ref<const std::string&>());
}

}  // namespace kelpa
