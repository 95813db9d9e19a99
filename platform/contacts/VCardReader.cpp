#include "platform/contacts/VCardReader.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

namespace kelpa::platform {

namespace {

struct LogicalLine {
    std::string text;
    int number = 0;  // of its first physical line
};

// One content line: [group "."] name *(";" param) ":" value.
struct Property {
    std::string name;  // upper case, without the group
    std::vector<std::string> parameters;
    std::string value;
};

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// A line that starts with a space or a tab continues the one before it (RFC 6350 3.2).
std::vector<LogicalLine> unfold(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<LogicalLine> lines;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if ((line.starts_with(' ') || line.starts_with('\t')) && !lines.empty()) {
            lines.back().text.append(line.substr(1));
            continue;
        }
        lines.push_back({std::string(line), number});
    }
    return lines;
}

// None for a line without a ':' after its name.
std::optional<Property> split(std::string_view line) {
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    std::vector<std::size_t> semicolons;
    for (std::size_t i = 0; i < line.size() && colon == std::string_view::npos; ++i) {
        const char c = line[i];
        if (c == '"') quoted = !quoted;
        else if (!quoted && c == ';') semicolons.push_back(i);
        else if (!quoted && c == ':') colon = i;
    }
    if (colon == std::string_view::npos) return std::nullopt;
    Property property;
    const auto nameEnd = semicolons.empty() ? colon : semicolons.front();
    std::string_view name = trim(line.substr(0, nameEnd));
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) name.remove_prefix(dot + 1);
    property.name = upper(name);
    semicolons.push_back(colon);
    for (std::size_t i = 0; i + 1 < semicolons.size(); ++i)
        property.parameters.push_back(upper(line.substr(semicolons[i] + 1, semicolons[i + 1] - semicolons[i] - 1)));
    property.value = std::string(line.substr(colon + 1));
    return property;
}

// Undoes the text escapes: "\n" and "\N" are line breaks, "\x" is x.
std::string unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out.push_back(next == 'n' || next == 'N' ? '\n' : next);
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// Splits a structured value at the separators that are not escaped.
std::vector<std::string> components(std::string_view value, char separator) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            out.back().append(value.substr(i, 2));
            ++i;
        } else if (value[i] == separator) {
            out.emplace_back();
        } else {
            out.back().push_back(value[i]);
        }
    }
    return out;
}

// N is family;given;additional;prefixes;suffixes; a name reads prefix given additional
// family suffix.
std::string nameFromN(std::string_view value) {
    auto parts = components(value, ';');
    parts.resize(5);
    std::string name;
    for (const std::size_t index : {3, 1, 2, 0, 4}) {
        for (const auto& piece : components(parts[index], ',')) {
            const auto text = std::string(trim(unescape(piece)));
            if (text.empty()) continue;
            if (!name.empty()) name.push_back(' ');
            name += text;
        }
    }
    return name;
}

std::string phoneNumber(const Property& tel) {
    std::string_view value = trim(tel.value);
    const bool uri = std::find(tel.parameters.begin(), tel.parameters.end(), "VALUE=URI") != tel.parameters.end();
    if (uri || upper(value.substr(0, 4)) == "TEL:") {
        if (upper(value.substr(0, 4)) == "TEL:") value.remove_prefix(4);
        // tel: URI parameters (";ext=", ";phone-context=") are not part of the number.
        value = value.substr(0, value.find(';'));
        return std::string(trim(value));
    }
    return std::string(trim(unescape(value)));
}

}  // namespace

VCardReader::Result VCardReader::parse(std::string_view text) {
    std::vector<AddressBookPerson> people;
    std::optional<int> begun;  // line of the open card's BEGIN
    AddressBookPerson person;
    bool haveFN = false;
    std::string nameN;
    for (const auto& line : unfold(text)) {
        if (trim(line.text).empty()) continue;
        const auto property = split(line.text);
        const bool isBegin = property && property->name == "BEGIN" && upper(trim(property->value)) == "VCARD";
        const bool isEnd = property && property->name == "END" && upper(trim(property->value)) == "VCARD";
        if (!begun) {
            if (isBegin) {
                begun = line.number;
                person = {};
                haveFN = false;
                nameN.clear();
                continue;
            }
            if (isEnd) return fmt::format("line {}: END:VCARD without BEGIN:VCARD", line.number);
            return fmt::format("line {}: not a vCard (expected BEGIN:VCARD)", line.number);
        }
        if (isBegin) return fmt::format("line {}: BEGIN:VCARD without END:VCARD", *begun);
        if (isEnd) {
            if (!haveFN) person.name = nameN;
            people.push_back(std::move(person));
            person = {};
            begun.reset();
            continue;
        }
        // Lines the book has no use for, malformed ones included, do not spoil the card.
        if (!property) continue;
        if (property->name == "FN" && !haveFN) {
            auto name = std::string(trim(unescape(property->value)));
            if (!name.empty()) {
                person.name = std::move(name);
                haveFN = true;
            }
        } else if (property->name == "N" && nameN.empty()) {
            nameN = nameFromN(property->value);
        } else if (property->name == "TEL") {
            if (auto number = phoneNumber(*property); !number.empty()) person.phoneNumbers.push_back(std::move(number));
        }
    }
    if (begun) return fmt::format("line {}: BEGIN:VCARD without END:VCARD", *begun);
    return people;
}

VCardReader::Result VCardReader::readFile(const std::filesystem::path& file) {
    const auto failure = [&](const std::string& reason) {
        return Result(fmt::format("cannot read address book {}: {}", file.string(), reason));
    };
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) return failure("it is a directory");
    std::ifstream in(file, std::ios::binary);
    if (!in) return failure(std::strerror(errno));
    std::stringstream text;
    text << in.rdbuf();
    if (in.bad()) return failure("read error");
    auto result = parse(text.str());
    if (auto* error = std::get_if<std::string>(&result)) return failure(*error);
    return result;
}

}  // namespace kelpa::platform
