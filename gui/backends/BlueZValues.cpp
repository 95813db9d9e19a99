#include "gui/backends/BlueZValues.h"

#include <QBluetoothDeviceInfo>
#include <QBluetoothUuid>
#include <QDBusError>
#include <QDBusMetaType>

#include <mutex>

namespace kelpa::platform {

namespace {
// The phone's characteristic property and permission bits.
constexpr int kBroadcast = 0x01;
constexpr int kRead = 0x02;
constexpr int kWriteWithoutResponse = 0x04;
constexpr int kWrite = 0x08;
constexpr int kNotify = 0x10;
constexpr int kIndicate = 0x20;
constexpr int kAuthenticatedSignedWrites = 0x40;
constexpr int kExtendedProperties = 0x80;
constexpr int kNotifyEncryptionRequired = 0x100;
constexpr int kIndicateEncryptionRequired = 0x200;

constexpr int kReadable = 0x01;
constexpr int kWriteable = 0x02;
constexpr int kReadEncryptionRequired = 0x04;
constexpr int kWriteEncryptionRequired = 0x08;

constexpr const char* kBaseSuffix = "-0000-1000-8000-00805f9b34fb";
}  // namespace

QString BlueZValues::uuidToBlueZ(const BluetoothUUID& uuid) {
    const auto text = QString::fromStdString(uuid.UUIDString()).toLower();
    if (text.size() == 4) return QStringLiteral("0000") + text + QLatin1String(kBaseSuffix);
    if (text.size() == 8) return text + QLatin1String(kBaseSuffix);
    return text;
}

BluetoothUUID BlueZValues::uuidFromQt(const QBluetoothUuid& uuid) {
    return BluetoothUUID::UUIDWithString(uuid.toString(QUuid::WithoutBraces).toStdString());
}

RadioDiscovery BlueZValues::discoveryFrom(const QBluetoothDeviceInfo& device) {
    RadioDiscovery discovery;
    // Linux names a peripheral by its address; only Apple's stacks hide it behind a UUID.
    discovery.peripheralIdentifier = device.address().isNull()
                                         ? device.deviceUuid().toString(QUuid::WithoutBraces).toUpper().toStdString()
                                         : device.address().toString().toStdString();
    if (!device.name().isEmpty()) discovery.advertisement.localName = device.name().toStdString();
    for (const auto& uuid : device.serviceUuids()) {
        auto converted = uuidFromQt(uuid);
        if (converted.isValid()) discovery.advertisement.serviceUUIDs.push_back(converted);
    }
    discovery.rssi = device.rssi();
    return discovery;
}

ManagerState BlueZValues::stateFor(bool adapterPresent, QBluetoothLocalDevice::HostMode mode) {
    if (!adapterPresent) return ManagerState::unsupported;
    return mode == QBluetoothLocalDevice::HostPoweredOff ? ManagerState::poweredOff : ManagerState::poweredOn;
}

std::optional<ManagerState> BlueZValues::stateForDBusError(const QString& errorName) {
    // The bus's policy refuses the call, or BlueZ refuses this user.
    if (errorName == QLatin1String("org.freedesktop.DBus.Error.AccessDenied") ||
        errorName == QLatin1String("org.bluez.Error.NotPermitted") ||
        errorName == QLatin1String("org.bluez.Error.NotAuthorized")) {
        return ManagerState::unauthorized;
    }
    // Power is not taken from errors: the adapter itself reports it, and a guess from a failed
    // call could only leave the radio stuck off.
    return std::nullopt;
}

std::optional<ManagerState> BlueZValues::stateForDiscoveryError(QBluetoothDeviceDiscoveryAgent::Error error) {
    // As with D-Bus errors, power is left to the adapter's own reports.
    switch (error) {
    case QBluetoothDeviceDiscoveryAgent::InvalidBluetoothAdapterError:
    case QBluetoothDeviceDiscoveryAgent::UnsupportedPlatformError:
    case QBluetoothDeviceDiscoveryAgent::UnsupportedDiscoveryMethod:
        return ManagerState::unsupported;
    case QBluetoothDeviceDiscoveryAgent::MissingPermissionsError:
        return ManagerState::unauthorized;
    default:
        return std::nullopt;
    }
}

std::string BlueZValues::errorText(const QDBusError& error) {
    const auto name = error.name().toStdString();
    const auto message = error.message().toStdString();
    if (message.empty()) return name.empty() ? "BlueZ did not answer" : name;
    return message + " (" + name + ")";
}

QStringList BlueZValues::characteristicFlags(int properties, int permissions) {
    QStringList flags;
    const bool readable = permissions & (kReadable | kReadEncryptionRequired);
    const bool writeable = permissions & (kWriteable | kWriteEncryptionRequired);
    if (properties & kBroadcast) flags << QStringLiteral("broadcast");
    // Reads and writes that the permissions forbid are not offered at all.
    if ((properties & kRead) && readable) {
        flags << QString::fromLatin1((permissions & kReadEncryptionRequired) ? "encrypt-read" : "read");
    }
    if ((properties & kWriteWithoutResponse) && writeable) flags << QStringLiteral("write-without-response");
    if ((properties & kWrite) && writeable) {
        flags << QString::fromLatin1((permissions & kWriteEncryptionRequired) ? "encrypt-write" : "write");
    }
    if (properties & kNotify) {
        flags << QString::fromLatin1((properties & kNotifyEncryptionRequired) ? "encrypt-notify" : "notify");
    }
    if (properties & kIndicate) {
        flags << QString::fromLatin1((properties & kIndicateEncryptionRequired) ? "encrypt-indicate" : "indicate");
    }
    if ((properties & kAuthenticatedSignedWrites) && writeable) flags << QStringLiteral("authenticated-signed-writes");
    if (properties & kExtendedProperties) flags << QStringLiteral("extended-properties");
    return flags;
}

std::optional<QDBusObjectPath> BlueZValues::advertisingAdapter(const DBusManagedObjects& objects,
                                                               const QString& address) {
    std::optional<QDBusObjectPath> first;
    // QMap keeps paths in order, so "first" is hci0 before hci1.
    for (auto it = objects.constBegin(); it != objects.constEnd(); ++it) {
        const auto& interfaces = it.value();
        const auto adapter = interfaces.constFind(QLatin1String(bluez::adapterInterface));
        if (adapter == interfaces.constEnd() || !interfaces.contains(QLatin1String(bluez::advertisingManagerInterface))) {
            continue;
        }
        if (!address.isEmpty() &&
            adapter->value(QStringLiteral("Address")).toString().compare(address, Qt::CaseInsensitive) == 0) {
            return it.key();
        }
        if (!first) first = it.key();
    }
    return first;
}

void BlueZValues::registerDBusTypes() {
    static std::once_flag once;
    std::call_once(once, [] {
        qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
        qDBusRegisterMetaType<DBusManagedObjects>();
    });
}

}  // namespace kelpa::platform
