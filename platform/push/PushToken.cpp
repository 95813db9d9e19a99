#include "platform/push/PushToken.h"

#include <openssl/rand.h>

namespace kelpa::platform {

namespace {
int nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::optional<std::string> PushToken::installationToken(Preferences& preferences) {
    if (auto stored = preferences.string(kPreferencesKey); stored && stored->size() == 2 * kLength) {
        if (auto bytes = fromHex(*stored)) return bytes;
    }
    unsigned char random[kLength];
    if (RAND_bytes(random, static_cast<int>(kLength)) != 1) return std::nullopt;
    std::string bytes(reinterpret_cast<const char*>(random), kLength);
    preferences.set(kPreferencesKey, hex(bytes));
    return bytes;
}

std::string PushToken::hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0x0f]);
    }
    return text;
}

std::optional<std::string> PushToken::fromHex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = nibble(text[i]), low = nibble(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high << 4 | low));
    }
    return bytes;
}

}  // namespace kelpa::platform
