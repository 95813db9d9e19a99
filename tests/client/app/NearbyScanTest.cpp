#include "client/bluetooth/NearbyScan.h"

#include "client/bluetooth/AdvertisedService.h"

#include <gtest/gtest.h>

namespace kelpa {
namespace {

using platform::AdvertisementData;
using platform::AdvertisementValue;
using platform::BluetoothUUID;

TEST(NearbyScanTest, StateLines) {
    using platform::ManagerState;
    const struct {
        ManagerState state;
        std::optional<std::string> line;
    } cases[] = {
        {ManagerState::poweredOn, "CoreBluetooth BLE hardware is powered on and ready"},
        {ManagerState::poweredOff, "CoreBluetooth BLE hardware is powered off"},
        {ManagerState::unauthorized, "CoreBluetooth BLE state is unauthorized"},
        {ManagerState::unsupported, "CoreBluetooth BLE hardware is unsupported on this platform"},
        {ManagerState::unknown, "CoreBluetooth BLE state is unknown"},
        {ManagerState::resetting, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(NearbyScan::stateLine(c.state), c.line) << static_cast<int>(c.state);
}

TEST(NearbyScanTest, OnlyOurServiceAnnouncesAnIdentifier) {
    const auto ours = BluetoothUUID::UUIDWithString(AdvertisedService::kServiceUUID);
    const auto other = BluetoothUUID::UUIDWithString("0000180D-0000-1000-8000-00805F9B34FB");
    const auto uuids = [](std::vector<BluetoothUUID> list) { return AdvertisementValue(std::move(list)); };
    const struct {
        const char* name;
        AdvertisementData advertisement;
        std::optional<std::string> identifier;
    } cases[] = {
        {"ours", AdvertisedService::advertisement("G1"), "G1"},
        {"ours among others", {{"kCBAdvDataServiceUUIDs", uuids({other, ours})}, {"kCBAdvDataLocalName", "U7"}}, "U7"},
        {"another service", {{"kCBAdvDataServiceUUIDs", uuids({other})}, {"kCBAdvDataLocalName", "G1"}}, std::nullopt},
        {"no service list", {{"kCBAdvDataLocalName", "G1"}}, std::nullopt},
        {"no local name", {{"kCBAdvDataServiceUUIDs", uuids({ours})}}, std::nullopt},
        {"service list as text", {{"kCBAdvDataServiceUUIDs", "7b0fcd68-a8de-4a6a-a62e-5344074f3d01"}, {"kCBAdvDataLocalName", "G1"}},
         std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(NearbyScan::announcedIdentifier(c.advertisement), c.identifier) << c.name;
}

}  // namespace
}  // namespace kelpa
