#include "client/model/Functions.h"

#include "client/model/DataConversion.h"
#include "client/model/Utf8.h"
#include "platform/Environment.h"
#include "platform/Preferences.h"

#include <openssl/rand.h>
#include <openssl/sha.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <mutex>
#include <random>

namespace kelpa {

namespace {
bool isDeviceID(const std::string& text) {
    return text.size() == 32 &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

std::string makeDeviceID() {
    std::array<unsigned char, 16> bytes{};
    if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1) {
        std::random_device device;
        for (auto& b : bytes) b = static_cast<unsigned char>(device());
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    std::string hex = DataConversion::hexadecimalString(std::string_view(reinterpret_cast<char*>(bytes.data()), bytes.size()));
    std::transform(hex.begin(), hex.end(), hex.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    return hex;
}

// The first code point of each run of ten decimal digits outside ASCII (Unicode category Nd).
constexpr char32_t kDigitZeros[] = {
    0x0660, 0x06F0, 0x07C0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0BE6, 0x0C66, 0x0CE6, 0x0D66,
    0x0DE6, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x1090, 0x17E0, 0x1810, 0x1946, 0x19D0, 0x1A80, 0x1A90,
    0x1B50, 0x1BB0, 0x1C40, 0x1C50, 0xA620, 0xA8D0, 0xA900, 0xA9D0, 0xA9F0, 0xAA50, 0xABF0, 0xFF10,
    0x104A0, 0x10D30, 0x11066, 0x110F0, 0x11136, 0x111D0, 0x112F0, 0x11450, 0x114D0, 0x11650, 0x116C0,
    0x11730, 0x118E0, 0x11950, 0x11C50, 0x11D50, 0x11DA0, 0x16A60, 0x16AC0, 0x16B50, 0x1E140, 0x1E2F0,
    0x1E950, 0x1FBF0,
};

bool isDecimalDigit(char32_t c) {
    if (c >= U'0' && c <= U'9') return true;
    if (c >= 0x1D7CE && c <= 0x1D7FF) return true;  // mathematical digits
    return std::any_of(std::begin(kDigitZeros), std::end(kDigitZeros), [c](char32_t zero) { return c >= zero && c < zero + 10; });
}

// Horizontal white space: tab and the space separators; line breaks are not included.
bool isHorizontalSpace(char32_t c) {
    return c == U'\t' || c == U' ' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}
}  // namespace

std::string Functions::getUUID() {
    static std::mutex mutex;  // one identifier even when first asked from two threads at once
    auto preferences = platform::Environment::current()->preferences;
    std::lock_guard lock(mutex);
    if (auto stored = preferences->string(kDeviceIDKey); stored && isDeviceID(*stored)) return *stored;
    std::string id = makeDeviceID();
    preferences->set(kDeviceIDKey, id);
    return id;
}

bool Functions::date(Date date, Date isBetweenDate, Date andDate) { return date >= isBetweenDate && date <= andDate; }

std::string Functions::getHashedStringFromString(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest);
    return DataConversion::hexadecimalString(std::string_view(reinterpret_cast<char*>(digest), sizeof digest));
}

bool Functions::isNumeric(std::string_view text) {
    for (size_t offset = 0; offset < text.size();) {
        if (!isDecimalDigit(Utf8::next(text, offset).value)) return false;
    }
    return true;
}

std::string Functions::getFormattedPhoneNumberFromPhoneNumber(std::string_view phoneNumber) {
    std::string number;
    if (phoneNumber.starts_with("+49") || phoneNumber.empty()) {
        number = phoneNumber;
    } else {
        size_t offset = 0;
        Utf8::next(phoneNumber, offset);  // the first character, whatever it is, makes way
        number = "+49" + std::string(phoneNumber.substr(offset));
    }
    std::string result;
    for (size_t offset = 0; offset < number.size();) {
        const auto cp = Utf8::next(number, offset);
        if (!isHorizontalSpace(cp.value)) result += cp.bytes;
    }
    return result;
}

std::string Functions::getArrayAsCommaSeperatedList(const std::vector<std::string>& values) {
    std::string list;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) list += ',';
        list += values[i];
    }
    return list;
}

std::string Functions::getStringFromDate(Date date) {
    const std::time_t t = std::chrono::system_clock::to_time_t(date);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%d %b %Y, %H:%M:%S", &tm);
    return buffer;
}

}  // namespace kelpa
