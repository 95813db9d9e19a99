#include "client/model/Utf8.h"

namespace kelpa {

Utf8::CodePoint Utf8::next(std::string_view text, size_t& offset) {
    const size_t start = offset;
    const auto lead = static_cast<unsigned char>(text[offset++]);
    int extra = 0;
    char32_t value = 0;
    if (lead < 0x80) return {lead, text.substr(start, 1)};
    if ((lead & 0xE0) == 0xC0) { extra = 1; value = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; value = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; value = lead & 0x07; }
    else return {0xFFFD, text.substr(start, 1)};
    for (int i = 0; i < extra; ++i) {
        if (offset >= text.size() || (static_cast<unsigned char>(text[offset]) & 0xC0) != 0x80) {
            offset = start + 1;
            return {0xFFFD, text.substr(start, 1)};
        }
        value = (value << 6) | (static_cast<unsigned char>(text[offset++]) & 0x3F);
    }
    return {value, text.substr(start, offset - start)};
}

}  // namespace kelpa
