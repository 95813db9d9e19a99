#include "server/phone/PhoneNumber.h"

namespace kelpa::server {

std::optional<std::string> PhoneNumber::parse(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty() || text.size() > kMaxLength) return std::nullopt;
    int digits = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (!(c == '+' && i == 0) && c != ' ' && c != '-' && c != '(' && c != ')' && c != '/')
            return std::nullopt;
    }
    if (digits < 3) return std::nullopt;
    return std::string(text);
}

}  // namespace kelpa::server
