#include "gui/backends/BlueZGattApplication.h"

namespace kelpa::platform {

namespace {
constexpr const char* kNotSupported = "org.bluez.Error.NotSupported";

QDBusObjectPath below(const QDBusObjectPath& path, const QString& name) {
    return QDBusObjectPath(path.path() + QLatin1Char('/') + name);
}

QDBusObjectPath serviceUnder(const QDBusObjectPath& root) { return below(root, QStringLiteral("service0")); }

QDBusObjectPath characteristicUnder(const QDBusObjectPath& root, int index) {
    return below(serviceUnder(root), QStringLiteral("char%1").arg(index));
}

DBusManagedObjects treeOf(const QDBusObjectPath& root, const MutableService& service) {
    DBusManagedObjects tree;
    const auto servicePath = serviceUnder(root);
    tree[servicePath][QString::fromLatin1(bluez::gattServiceInterface)] = QVariantMap{
        {QStringLiteral("UUID"), BlueZValues::uuidToBlueZ(service.type)},
        {QStringLiteral("Primary"), service.primary},
    };
    int index = 0;
    for (const auto& characteristic : service.characteristics) {
        if (!characteristic) continue;
        QVariantMap properties{
            {QStringLiteral("UUID"), BlueZValues::uuidToBlueZ(characteristic->type)},
            {QStringLiteral("Service"), QVariant::fromValue(servicePath)},
            {QStringLiteral("Flags"),
             BlueZValues::characteristicFlags(characteristic->properties, characteristic->permissions)},
        };
        if (characteristic->value) {
            properties.insert(QStringLiteral("Value"), QByteArray::fromStdString(*characteristic->value));
        }
        tree[characteristicUnder(root, index++)][QString::fromLatin1(bluez::gattCharacteristicInterface)] = properties;
    }
    return tree;
}
}  // namespace

BlueZGattApplication::BlueZGattApplication(QDBusObjectPath root, const MutableService& service)
    : BlueZObject(root), objects_(treeOf(root, service)) {}

QDBusObjectPath BlueZGattApplication::servicePath() const { return serviceUnder(path()); }

QDBusObjectPath BlueZGattApplication::characteristicPath(int index) const { return characteristicUnder(path(), index); }

DBusManagedObjects BlueZGattApplication::objects() const { return objects_; }

std::optional<QDBusMessage> BlueZGattApplication::invoke(const QDBusMessage& call) {
    if (call.interface() != QLatin1String(bluez::gattCharacteristicInterface)) return std::nullopt;
    const auto object = objects_.constFind(QDBusObjectPath(call.path()));
    if (object == objects_.constEnd() || !object->contains(call.interface())) return std::nullopt;
    const auto properties = object->value(call.interface());
    const QString method = call.member();
    if (method == QLatin1String("ReadValue")) {
        return call.createReply(QVariant::fromValue(properties.value(QStringLiteral("Value")).toByteArray()));
    }
    if (method == QLatin1String("StartNotify") || method == QLatin1String("StopNotify")) return call.createReply();
    if (method == QLatin1String("WriteValue")) {
        return call.createErrorReply(QString::fromLatin1(kNotSupported), QStringLiteral("The value is fixed"));
    }
    return std::nullopt;
}

QString BlueZGattApplication::methodsXml(const QString& path, const QString& interface) const {
    if (interface == QLatin1String(bluez::objectManagerInterface) && path == this->path().path()) {
        return QStringLiteral(
            "    <method name=\"GetManagedObjects\">\n"
            "      <arg name=\"objects\" type=\"a{oa{sa{sv}}}\" direction=\"out\"/>\n"
            "    </method>\n");
    }
    if (interface == QLatin1String(bluez::gattCharacteristicInterface)) {
        return QStringLiteral(
            "    <method name=\"ReadValue\">\n"
            "      <arg name=\"options\" type=\"a{sv}\" direction=\"in\"/>\n"
            "      <arg name=\"value\" type=\"ay\" direction=\"out\"/>\n"
            "    </method>\n"
            "    <method name=\"WriteValue\">\n"
            "      <arg name=\"value\" type=\"ay\" direction=\"in\"/>\n"
            "      <arg name=\"options\" type=\"a{sv}\" direction=\"in\"/>\n"
            "    </method>\n"
            "    <method name=\"StartNotify\"/>\n"
            "    <method name=\"StopNotify\"/>\n");
    }
    return {};
}

}  // namespace kelpa::platform
