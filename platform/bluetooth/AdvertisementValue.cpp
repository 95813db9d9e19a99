#include "platform/bluetooth/AdvertisementValue.h"

namespace kelpa::platform {

std::string AdvertisementValue::description() const {
    if (const auto* textValue = text()) return *textValue;
    std::string out = "(\n";
    const auto& list = *uuids();
    for (size_t i = 0; i < list.size(); ++i) {
        out += "    ";
        out += list[i].UUIDString();
        out += i + 1 < list.size() ? ",\n" : "\n";
    }
    out += ")";
    return out;
}

}  // namespace kelpa::platform
