#include "platform/bluetooth/AdvertisementData.h"
#include "platform/bluetooth/SimulatedRadio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

using kelpa::platform::AdvertisementValue;
using kelpa::platform::BluetoothUUID;
using kelpa::platform::SimulatedRadio;

TEST(BluetoothUUID, TextFormsBecomeThePhonesForm) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"7B0FCD68-A8DE-4A6A-A62E-5344074F3D01", "7B0FCD68-A8DE-4A6A-A62E-5344074F3D01"},
        {"7b0fcd68-a8de-4a6a-a62e-5344074f3d01", "7B0FCD68-A8DE-4A6A-A62E-5344074F3D01"},
        {"{7b0fcd68-A8DE-4a6a-a62e-5344074F3D01}", "7B0FCD68-A8DE-4A6A-A62E-5344074F3D01"},
        {"180d", "180D"},
        {"0000180d-0000-1000-8000-00805f9b34fb", "180D"},     // 16-bit on the base UUID
        {"{1234ABCD-0000-1000-8000-00805F9B34FB}", "1234ABCD"},  // 32-bit on the base UUID
        {"0000180D-0000-1000-8000-00805F9B34FC", "0000180D-0000-1000-8000-00805F9B34FC"},
        // Not UUIDs: empty text.
        {"", ""},
        {"{}", ""},
        {"7B0FCD68A8DE4A6AA62E5344074F3D01", ""},
        {"7B0FCD68-A8DE-4A6A-A62E-5344074F3D0", ""},
        {"7B0FCD68-A8DE-4A6A-A62E-5344074F3DX1", ""},
        {"{7B0FCD68-A8DE-4A6A-A62E-5344074F3D01", ""},
        {"18D", ""},
    };
    for (const auto& c : cases) {
        auto uuid = BluetoothUUID::UUIDWithString(c.input);
        EXPECT_EQ(uuid.UUIDString(), c.expected) << c.input;
        EXPECT_EQ(uuid.isValid(), !c.expected.empty()) << c.input;
    }
}

TEST(BluetoothUUID, SpellingsOfOneUUIDAreEqual) {
    EXPECT_EQ(BluetoothUUID::UUIDWithString("{7b0fcd68-a8de-4a6a-a62e-5344074f3d01}"),
              BluetoothUUID::UUIDWithString("7B0FCD68-A8DE-4A6A-A62E-5344074F3D01"));
    EXPECT_EQ(BluetoothUUID::UUIDWithString("180D"),
              BluetoothUUID::UUIDWithString("0000180D-0000-1000-8000-00805F9B34FB"));
    EXPECT_FALSE(BluetoothUUID::UUIDWithString("180D") == BluetoothUUID::UUIDWithString("180E"));
}

TEST(AdvertisementValue, DescriptionIsThePhonesRendering) {
    auto a = BluetoothUUID::UUIDWithString("7b0fcd68-a8de-4a6a-a62e-5344074f3d01");
    auto b = BluetoothUUID::UUIDWithString("180d");
    struct Case {
        AdvertisementValue value;
        std::string expected;
    };
    const Case cases[] = {
        {AdvertisementValue("1234"), "1234"},
        {AdvertisementValue(std::string()), ""},
        {AdvertisementValue(std::vector<BluetoothUUID>{a}), "(\n    7B0FCD68-A8DE-4A6A-A62E-5344074F3D01\n)"},
        {AdvertisementValue(std::vector<BluetoothUUID>{a, b}),
         "(\n    7B0FCD68-A8DE-4A6A-A62E-5344074F3D01,\n    180D\n)"},
        {AdvertisementValue(std::vector<BluetoothUUID>{}), "(\n)"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value.description(), c.expected);
}

TEST(AdvertisementValue, KnowsItsKind) {
    AdvertisementValue text("42");
    AdvertisementValue list(std::vector<BluetoothUUID>{BluetoothUUID::UUIDWithString("180D")});
    ASSERT_NE(text.text(), nullptr);
    EXPECT_EQ(*text.text(), "42");
    EXPECT_EQ(text.uuids(), nullptr);
    ASSERT_NE(list.uuids(), nullptr);
    EXPECT_EQ(list.uuids()->size(), 1u);
    EXPECT_EQ(list.text(), nullptr);
}

TEST(SimulatedRadio, DefaultDirectoryFollowsTheEnvironment) {
    auto saved = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto radioDir = saved("KELPA_RADIO_DIR");
    const auto runtimeDir = saved("XDG_RUNTIME_DIR");
    auto set = [](const char* name, const std::optional<std::string>& value) {
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    };

    struct Case {
        std::optional<std::string> radio;
        std::optional<std::string> runtime;
        std::string expected;
    };
    const std::string fallback = "/tmp/kelpa-radio-" + std::to_string(::getuid());
    const Case cases[] = {
        {"/srv/radio", "/run/user/1000", "/srv/radio"},
        {std::nullopt, "/run/user/1000", "/run/user/1000/kelpa-radio"},
        {"", "/run/user/1000", "/run/user/1000/kelpa-radio"},
        {std::nullopt, std::nullopt, fallback},
        {std::nullopt, "", fallback},
    };
    for (const auto& c : cases) {
        set("KELPA_RADIO_DIR", c.radio);
        set("XDG_RUNTIME_DIR", c.runtime);
        EXPECT_EQ(SimulatedRadio::defaultDirectory(), c.expected);
    }
    set("KELPA_RADIO_DIR", radioDir);
    set("XDG_RUNTIME_DIR", runtimeDir);
}
