#include "platform/bluetooth/BluetoothUUID.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kelpa::platform {

namespace {
constexpr std::string_view kBaseSuffix = "-0000-1000-8000-00805F9B34FB";

bool allHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isxdigit(c) != 0; });
}

bool isCanonical128(std::string_view text) {
    if (text.size() != 36) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : std::isxdigit(static_cast<unsigned char>(text[i])) == 0) return false;
    }
    return true;
}
}  // namespace

BluetoothUUID BluetoothUUID::UUIDWithString(const std::string& text) {
    std::string_view view = text;
    if (view.size() >= 2 && view.front() == '{' && view.back() == '}') {
        view = view.substr(1, view.size() - 2);
    }
    std::string upper(view);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });

    if ((upper.size() == 4 || upper.size() == 8) && allHex(upper)) return BluetoothUUID(upper);
    if (!isCanonical128(upper)) return BluetoothUUID();
    if (std::string_view(upper).substr(8) == kBaseSuffix) {
        // Assigned numbers travel short over the air; BlueZ and Qt spell them out in full.
        if (upper.compare(0, 4, "0000") == 0) return BluetoothUUID(upper.substr(4, 4));
        return BluetoothUUID(upper.substr(0, 8));
    }
    return BluetoothUUID(upper);
}

}  // namespace kelpa::platform
