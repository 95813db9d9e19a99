#pragma once

#include "platform/bluetooth/BluetoothUUID.h"
#include "platform/bluetooth/ManagerState.h"
#include "platform/bluetooth/RadioDiscovery.h"

#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothLocalDevice>
#include <QDBusObjectPath>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>
#include <string>

QT_BEGIN_NAMESPACE
class QBluetoothDeviceInfo;
class QBluetoothUuid;
class QDBusError;
QT_END_NAMESPACE

namespace kelpa::platform {

// BlueZ's D-Bus names.
namespace bluez {
inline constexpr const char* service = "org.bluez";
inline constexpr const char* adapterInterface = "org.bluez.Adapter1";
inline constexpr const char* advertisingManagerInterface = "org.bluez.LEAdvertisingManager1";
inline constexpr const char* gattManagerInterface = "org.bluez.GattManager1";
inline constexpr const char* advertisementInterface = "org.bluez.LEAdvertisement1";
inline constexpr const char* gattServiceInterface = "org.bluez.GattService1";
inline constexpr const char* gattCharacteristicInterface = "org.bluez.GattCharacteristic1";
inline constexpr const char* propertiesInterface = "org.freedesktop.DBus.Properties";
inline constexpr const char* objectManagerInterface = "org.freedesktop.DBus.ObjectManager";
}  // namespace bluez

// What D-Bus's ObjectManager.GetManagedObjects answers: interfaces and their properties by
// object path.
using DBusManagedObjects = QMap<QDBusObjectPath, QMap<QString, QVariantMap>>;

// The conversions between BlueZ's and Qt's Bluetooth values and the radio's.
class BlueZValues {
public:
    // A UUID as BlueZ's D-Bus API spells it: 128 bits, lower-case, no braces.
    static QString uuidToBlueZ(const BluetoothUUID& uuid);
    // Qt's braced lower-case form to the form a phone shows; short UUIDs collapse.
    static BluetoothUUID uuidFromQt(const QBluetoothUuid& uuid);

    // One advertisement as a scan reports it: the advertiser's address (its UUID where Qt
    // gives no address), the advertised service UUIDs, and the name as the local name.
    static RadioDiscovery discoveryFrom(const QBluetoothDeviceInfo& device);

    static ManagerState stateFor(bool adapterPresent, QBluetoothLocalDevice::HostMode mode);
    // The state a refusal of BlueZ says the radio is in; none for failures that say nothing
    // about the radio.
    static std::optional<ManagerState> stateForDBusError(const QString& errorName);
    static std::optional<ManagerState> stateForDiscoveryError(QBluetoothDeviceDiscoveryAgent::Error error);
    // A failed call as a text for completion handlers and the log.
    static std::string errorText(const QDBusError& error);

    // A characteristic's properties and permissions (the phone's bit values) as BlueZ flags.
    static QStringList characteristicFlags(int properties, int permissions);

    // The adapter object that can advertise, preferring the one with the given address.
    static std::optional<QDBusObjectPath> advertisingAdapter(const DBusManagedObjects& objects,
                                                             const QString& address);

    // Teaches Qt D-Bus to marshal the types above; any thread, any number of times.
    static void registerDBusTypes();
};

}  // namespace kelpa::platform
