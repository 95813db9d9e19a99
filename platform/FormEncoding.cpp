#include "platform/FormEncoding.h"

namespace kelpa::platform {

namespace {
bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string FormEncoding::percentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (unreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string FormEncoding::percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() &&
                   hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string FormEncoding::encode(const Fields& fields) {
    std::string body;
    for (const auto& [key, value] : fields) {
        if (!body.empty()) body += '&';
        body += percentEncode(key);
        body += '=';
        body += percentEncode(value);
    }
    return body;
}

FormEncoding::Fields FormEncoding::decode(std::string_view body) {
    Fields fields;
    while (!body.empty()) {
        const auto amp = body.find('&');
        const auto pair = body.substr(0, amp);
        const auto eq = pair.find('=');
        if (!pair.empty()) {
            fields.emplace_back(percentDecode(pair.substr(0, eq)),
                                eq == std::string_view::npos ? std::string() : percentDecode(pair.substr(eq + 1)));
        }
        if (amp == std::string_view::npos) break;
        body.remove_prefix(amp + 1);
    }
    return fields;
}

}  // namespace kelpa::platform
