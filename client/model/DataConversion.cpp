#include "client/model/DataConversion.h"

namespace kelpa {

std::string DataConversion::hexadecimalString(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        text += kHex[b >> 4];
        text += kHex[b & 0xF];
    }
    return text;
}

}  // namespace kelpa
