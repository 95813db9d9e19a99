#include "gui/backends/BlueZObject.h"

#include <QDBusConnection>
#include <QDBusVariant>

namespace kelpa::platform {

namespace {
constexpr const char* kIntrospectable = "org.freedesktop.DBus.Introspectable";
constexpr const char* kPeer = "org.freedesktop.DBus.Peer";
constexpr const char* kUnknownInterface = "org.freedesktop.DBus.Error.UnknownInterface";
constexpr const char* kUnknownProperty = "org.freedesktop.DBus.Error.UnknownProperty";
constexpr const char* kUnknownObject = "org.freedesktop.DBus.Error.UnknownObject";
constexpr const char* kPropertyReadOnly = "org.freedesktop.DBus.Error.PropertyReadOnly";
constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";

// D-Bus type codes of the property values the trees hold.
QString signatureOf(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return QStringLiteral("b");
    case QMetaType::QString:
        return QStringLiteral("s");
    case QMetaType::QStringList:
        return QStringLiteral("as");
    case QMetaType::QByteArray:
        return QStringLiteral("ay");
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) return QStringLiteral("o");
    if (value.metaType() == QMetaType::fromType<QList<QDBusObjectPath>>()) return QStringLiteral("ao");
    return QStringLiteral("v");
}
}  // namespace

BlueZObject::BlueZObject(QDBusObjectPath root) : root_(std::move(root)) { BlueZValues::registerDBusTypes(); }

QStringList BlueZObject::childrenOf(const QString& path) const {
    QStringList children;
    const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    const auto tree = objects();
    for (auto it = tree.constBegin(); it != tree.constEnd(); ++it) {
        const QString child = it.key().path();
        if (!child.startsWith(prefix)) continue;
        const QString name = child.mid(prefix.size()).section(QLatin1Char('/'), 0, 0);
        if (!name.isEmpty() && !children.contains(name)) children << name;
    }
    return children;
}

QString BlueZObject::introspect(const QString& path) const {
    QString xml;
    const auto tree = objects();
    const auto object = tree.constFind(QDBusObjectPath(path));
    if (object != tree.constEnd()) {
        for (auto it = object->constBegin(); it != object->constEnd(); ++it) {
            xml += QStringLiteral("  <interface name=\"%1\">\n").arg(it.key());
            xml += methodsXml(path, it.key());
            for (auto property = it->constBegin(); property != it->constEnd(); ++property) {
                xml += QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"read\"/>\n")
                           .arg(property.key(), signatureOf(property.value()));
            }
            xml += QStringLiteral("  </interface>\n");
        }
    }
    // Interfaces without properties (the object manager at the root) have methods only.
    if (object == tree.constEnd() || object->isEmpty()) {
        const QString methods = methodsXml(path, QString::fromLatin1(bluez::objectManagerInterface));
        if (!methods.isEmpty()) {
            xml += QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(bluez::objectManagerInterface));
            xml += methods;
            xml += QStringLiteral("  </interface>\n");
        }
    }
    for (const auto& child : childrenOf(path)) xml += QStringLiteral("  <node name=\"%1\"/>\n").arg(child);
    return xml;
}

std::optional<QDBusMessage> BlueZObject::properties(const QDBusMessage& call) const {
    const auto tree = objects();
    const auto object = tree.constFind(QDBusObjectPath(call.path()));
    if (object == tree.constEnd()) {
        return call.createErrorReply(QString::fromLatin1(kUnknownObject), QStringLiteral("No such object"));
    }
    const auto arguments = call.arguments();
    if (arguments.isEmpty()) return call.createErrorReply(QString::fromLatin1(kInvalidArgs), QStringLiteral("No interface"));
    const QString interface = arguments.at(0).toString();
    const auto properties = object->constFind(interface);
    if (call.member() == QLatin1String("Set")) {
        return call.createErrorReply(QString::fromLatin1(kPropertyReadOnly), QStringLiteral("Read-only property"));
    }
    if (properties == object->constEnd()) {
        return call.createErrorReply(QString::fromLatin1(kUnknownInterface), QStringLiteral("No such interface"));
    }
    if (call.member() == QLatin1String("GetAll")) return call.createReply(QVariant::fromValue(*properties));
    if (call.member() == QLatin1String("Get") && arguments.size() >= 2) {
        const auto value = properties->constFind(arguments.at(1).toString());
        if (value == properties->constEnd()) {
            return call.createErrorReply(QString::fromLatin1(kUnknownProperty), QStringLiteral("No such property"));
        }
        return call.createReply(QVariant::fromValue(QDBusVariant(*value)));
    }
    return std::nullopt;
}

std::optional<QDBusMessage> BlueZObject::answer(const QDBusMessage& call) {
    if (call.type() != QDBusMessage::MethodCallMessage) return std::nullopt;
    const QString interface = call.interface();
    if (interface == QLatin1String(kIntrospectable) || interface == QLatin1String(kPeer)) return std::nullopt;
    if (interface == QLatin1String(bluez::propertiesInterface)) return properties(call);
    if (interface == QLatin1String(bluez::objectManagerInterface) && call.member() == QLatin1String("GetManagedObjects") &&
        call.path() == root_.path()) {
        auto tree = objects();
        tree.remove(root_);
        return call.createReply(QVariant::fromValue(tree));
    }
    return invoke(call);
}

bool BlueZObject::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    auto reply = answer(message);
    // Unanswered calls fall to Qt, which introspects or refuses them.
    if (!reply) return false;
    if (message.isReplyRequired()) connection.send(*reply);
    return true;
}

}  // namespace kelpa::platform
