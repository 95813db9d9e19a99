#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa {

using Date = std::chrono::system_clock::time_point;

// The conversions that turn members of the service's JSON objects into record fields.
// A member that is missing, or JSON null, reads as missing throughout.
class JSONConversion {
public:
    using json = nlohmann::json;

    // The member's value, or nullptr when it is missing, null, or `object` is no object.
    static const json* member(const json& object, std::string_view key);

    // Unchanged: texts as they are, numbers as their decimal text; missing gives none.
    static std::optional<std::string> unchangedText(const json& object, std::string_view key);
    // Text: as unchanged, but a missing member becomes the text "(null)".
    static std::string text(const json& object, std::string_view key);
    // Integer: a number or a text holding a decimal integer, as 32 bits; missing gives 0.
    static std::int32_t integer(const json& object, std::string_view key);
    static std::int32_t integerValue(const json& value);
    // Boolean: true, a nonzero number, or a text starting (after spaces, sign and leading
    // zeros) with 1-9, Y, y, T or t.
    static bool boolean(const json& object, std::string_view key);
    // A number or a numeric text as a double; missing or unreadable gives none.
    static std::optional<double> number(const json& object, std::string_view key);
    // A date in the wire pattern, local time; anything else gives none.
    static std::optional<Date> date(const json& object, std::string_view key);

    // A JSON value written as text: strings unchanged, numbers in decimal.
    static std::string valueText(const json& value);
};

}  // namespace kelpa
