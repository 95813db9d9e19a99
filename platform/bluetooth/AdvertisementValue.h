#pragma once

#include "platform/bluetooth/BluetoothUUID.h"

#include <string>
#include <variant>
#include <vector>

namespace kelpa::platform {

// One entry of an advertisement dictionary: a text (the local name) or a list of UUIDs (the
// advertised services).
class AdvertisementValue {
public:
    AdvertisementValue(std::string text) : value_(std::move(text)) {}
    AdvertisementValue(const char* text) : value_(std::string(text)) {}
    AdvertisementValue(std::vector<BluetoothUUID> uuids) : value_(std::move(uuids)) {}

    // The value when it is of that kind, otherwise null.
    const std::string* text() const { return std::get_if<std::string>(&value_); }
    const std::vector<BluetoothUUID>* uuids() const { return std::get_if<std::vector<BluetoothUUID>>(&value_); }

    // The rendering a phone gives a dictionary value: a text as itself; a UUID list as
    // "(\n    7B0FCD68-A8DE-4A6A-A62E-5344074F3D01\n)", one UUID a line, indented by four
    // spaces, lines separated by commas; an empty list as "(\n)".
    std::string description() const;

    bool operator==(const AdvertisementValue& other) const { return value_ == other.value_; }

private:
    std::variant<std::string, std::vector<BluetoothUUID>> value_;
};

}  // namespace kelpa::platform
