#pragma once

#include <string>

namespace kelpa::platform {

// A service or characteristic UUID, kept in the text form a phone shows: upper-case, no
// braces. 16- and 32-bit UUIDs keep their short form, and a 128-bit spelling of one (on the
// Bluetooth base UUID) collapses to it, so the two compare equal. Text that is no UUID gives
// an invalid UUID with empty text.
class BluetoothUUID {
public:
    BluetoothUUID() = default;

    // Accepts any case, with or without surrounding braces.
    static BluetoothUUID UUIDWithString(const std::string& text);

    const std::string& UUIDString() const { return text_; }
    bool isValid() const { return !text_.empty(); }

    bool operator==(const BluetoothUUID& other) const { return text_ == other.text_; }
    bool operator<(const BluetoothUUID& other) const { return text_ < other.text_; }

private:
    explicit BluetoothUUID(std::string text) : text_(std::move(text)) {}

    std::string text_;
};

}  // namespace kelpa::platform
