#include "gui/backends/BlueZValues.h"

#include <QBluetoothAddress>
#include <QBluetoothDeviceInfo>
#include <QBluetoothUuid>
#include <QDBusError>

#include <gtest/gtest.h>

namespace kelpa::platform {
namespace {

TEST(BlueZValuesTest, UUIDsTravelToBlueZInItsSpelling) {
    struct Case {
        const char* uuid;
        const char* bluez;
    };
    for (const auto& c : {Case{"7B0FCD68-A8DE-4A6A-A62E-5344074F3D01", "7b0fcd68-a8de-4a6a-a62e-5344074f3d01"},
                          Case{"180D", "0000180d-0000-1000-8000-00805f9b34fb"},
                          Case{"1234ABCD", "1234abcd-0000-1000-8000-00805f9b34fb"}}) {
        SCOPED_TRACE(c.uuid);
        const auto uuid = BluetoothUUID::UUIDWithString(c.uuid);
        EXPECT_EQ(BlueZValues::uuidToBlueZ(uuid), QString::fromLatin1(c.bluez));
        // And back the way Qt hands them over: braced, lower-case.
        const QBluetoothUuid qt(QUuid(QString::fromLatin1(c.bluez)));
        EXPECT_EQ(BlueZValues::uuidFromQt(qt), uuid);
    }
}

TEST(BlueZValuesTest, AScannedDeviceReadsAsThePhoneReportsIt) {
    QBluetoothDeviceInfo device(QBluetoothAddress(QStringLiteral("AA:BB:CC:DD:EE:01")), QStringLiteral("group-42"), 0);
    device.setCoreConfigurations(QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
    device.setServiceUuids({QBluetoothUuid(QStringLiteral("{7b0fcd68-a8de-4a6a-a62e-5344074f3d01}")),
                            QBluetoothUuid(QBluetoothUuid::ServiceClassUuid::HeartRate)});
    device.setRssi(-63);

    const auto discovery = BlueZValues::discoveryFrom(device);
    EXPECT_EQ(discovery.peripheralIdentifier, "AA:BB:CC:DD:EE:01");
    EXPECT_EQ(discovery.advertisement.localName, std::optional<std::string>("group-42"));
    ASSERT_EQ(discovery.advertisement.serviceUUIDs.size(), 2u);
    EXPECT_EQ(discovery.advertisement.serviceUUIDs[0].UUIDString(), "7B0FCD68-A8DE-4A6A-A62E-5344074F3D01");
    EXPECT_EQ(discovery.advertisement.serviceUUIDs[1].UUIDString(), "180D");
    EXPECT_EQ(discovery.rssi, -63);
}

TEST(BlueZValuesTest, ADeviceWithoutNameHasNoLocalName) {
    QBluetoothDeviceInfo device(QBluetoothAddress(QStringLiteral("AA:BB:CC:DD:EE:02")), QString(), 0);
    EXPECT_EQ(BlueZValues::discoveryFrom(device).advertisement.localName, std::nullopt);
    EXPECT_TRUE(BlueZValues::discoveryFrom(device).advertisement.serviceUUIDs.empty());
}

TEST(BlueZValuesTest, StateFollowsTheAdapter) {
    using Mode = QBluetoothLocalDevice::HostMode;
    struct Case {
        bool present;
        Mode mode;
        ManagerState state;
    };
    for (const auto& c : {Case{false, QBluetoothLocalDevice::HostConnectable, ManagerState::unsupported},
                          Case{false, QBluetoothLocalDevice::HostPoweredOff, ManagerState::unsupported},
                          Case{true, QBluetoothLocalDevice::HostPoweredOff, ManagerState::poweredOff},
                          Case{true, QBluetoothLocalDevice::HostConnectable, ManagerState::poweredOn},
                          Case{true, QBluetoothLocalDevice::HostDiscoverable, ManagerState::poweredOn},
                          Case{true, QBluetoothLocalDevice::HostDiscoverableLimitedInquiry, ManagerState::poweredOn}}) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        EXPECT_EQ(BlueZValues::stateFor(c.present, c.mode), c.state);
    }
}

TEST(BlueZValuesTest, OnlyRefusalsOfPermissionChangeTheState) {
    struct Case {
        const char* name;
        std::optional<ManagerState> state;
    };
    for (const auto& c : {Case{"org.freedesktop.DBus.Error.AccessDenied", ManagerState::unauthorized},
                          Case{"org.bluez.Error.NotPermitted", ManagerState::unauthorized},
                          Case{"org.bluez.Error.NotAuthorized", ManagerState::unauthorized},
                          Case{"org.bluez.Error.NotReady", std::nullopt},
                          Case{"org.bluez.Error.Failed", std::nullopt},
                          Case{"org.freedesktop.DBus.Error.ServiceUnknown", std::nullopt}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BlueZValues::stateForDBusError(QString::fromLatin1(c.name)), c.state);
    }
    using Agent = QBluetoothDeviceDiscoveryAgent;
    EXPECT_EQ(BlueZValues::stateForDiscoveryError(Agent::MissingPermissionsError), ManagerState::unauthorized);
    EXPECT_EQ(BlueZValues::stateForDiscoveryError(Agent::InvalidBluetoothAdapterError), ManagerState::unsupported);
    EXPECT_EQ(BlueZValues::stateForDiscoveryError(Agent::PoweredOffError), std::nullopt);
    EXPECT_EQ(BlueZValues::stateForDiscoveryError(Agent::InputOutputError), std::nullopt);
}

TEST(BlueZValuesTest, ErrorTextsNameTheRefusal) {
    EXPECT_EQ(BlueZValues::errorText(QDBusError(QDBusError::AccessDenied, QStringLiteral("Rejected send message"))),
              "Rejected send message (org.freedesktop.DBus.Error.AccessDenied)");
    EXPECT_EQ(BlueZValues::errorText(QDBusError()), "BlueZ did not answer");
}

TEST(BlueZValuesTest, CharacteristicPropertiesBecomeBlueZFlags) {
    struct Case {
        int properties;
        int permissions;
        QStringList flags;
    };
    const auto list = [](std::initializer_list<const char*> names) {
        QStringList out;
        for (const auto* name : names) out << QString::fromLatin1(name);
        return out;
    };
    for (const auto& c : {
             Case{0x10, 0x01, list({"notify"})},                    // the app's characteristic
             Case{0x02, 0x01, list({"read"})},
             Case{0x02, 0x04, list({"encrypt-read"})},
             Case{0x02, 0x00, list({})},                            // not readable: no read offered
             Case{0x08 | 0x04, 0x02, list({"write-without-response", "write"})},
             Case{0x08, 0x08, list({"encrypt-write"})},
             Case{0x20 | 0x200, 0x00, list({"encrypt-indicate"})},
             Case{0x01 | 0x80, 0x00, list({"broadcast", "extended-properties"})},
         }) {
        SCOPED_TRACE(c.properties);
        EXPECT_EQ(BlueZValues::characteristicFlags(c.properties, c.permissions), c.flags);
    }
}

TEST(BlueZValuesTest, TheAdvertisingAdapterIsTheOneWithTheAddress) {
    const auto adapter = [](const char* address, bool advertises) {
        QMap<QString, QVariantMap> interfaces;
        interfaces[QString::fromLatin1(bluez::adapterInterface)] = {{QStringLiteral("Address"), QString::fromLatin1(address)}};
        if (advertises) interfaces[QString::fromLatin1(bluez::advertisingManagerInterface)] = {};
        return interfaces;
    };
    DBusManagedObjects objects;
    objects[QDBusObjectPath(QStringLiteral("/org/bluez"))] = {{QStringLiteral("org.bluez.AgentManager1"), {}}};
    objects[QDBusObjectPath(QStringLiteral("/org/bluez/hci0"))] = adapter("00:00:00:00:00:01", true);
    objects[QDBusObjectPath(QStringLiteral("/org/bluez/hci1"))] = adapter("00:00:00:00:00:02", true);
    objects[QDBusObjectPath(QStringLiteral("/org/bluez/hci2"))] = adapter("00:00:00:00:00:03", false);

    EXPECT_EQ(BlueZValues::advertisingAdapter(objects, QStringLiteral("00:00:00:00:00:02")),
              QDBusObjectPath(QStringLiteral("/org/bluez/hci1")));
    // An adapter that cannot advertise is passed over for the first that can.
    EXPECT_EQ(BlueZValues::advertisingAdapter(objects, QStringLiteral("00:00:00:00:00:03")),
              QDBusObjectPath(QStringLiteral("/org/bluez/hci0")));
    objects.remove(QDBusObjectPath(QStringLiteral("/org/bluez/hci0")));
    objects.remove(QDBusObjectPath(QStringLiteral("/org/bluez/hci1")));
    EXPECT_EQ(BlueZValues::advertisingAdapter(objects, QString()), std::nullopt);
}

}  // namespace
}  // namespace kelpa::platform
