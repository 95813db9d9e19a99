#include "gui/backends/BlueZAdvertisement.h"

namespace kelpa::platform {

namespace {
QVariantMap advertisementProperties(const RadioAdvertisement& advertisement) {
    QStringList uuids;
    for (const auto& uuid : advertisement.serviceUUIDs) {
        if (uuid.isValid()) uuids << BlueZValues::uuidToBlueZ(uuid);
    }
    QVariantMap properties{
        {QStringLiteral("Type"), QStringLiteral("peripheral")},
        {QStringLiteral("ServiceUUIDs"), uuids},
        {QStringLiteral("Discoverable"), true},
    };
    // No property rather than an empty name, which BlueZ would put on the air.
    if (advertisement.localName && !advertisement.localName->empty()) {
        properties.insert(QStringLiteral("LocalName"), QString::fromStdString(*advertisement.localName));
    }
    return properties;
}
}  // namespace

BlueZAdvertisement::BlueZAdvertisement(QDBusObjectPath path, const RadioAdvertisement& advertisement,
                                       ReleaseHandler onRelease)
    : BlueZObject(std::move(path)), properties_(advertisementProperties(advertisement)), onRelease_(std::move(onRelease)) {}

DBusManagedObjects BlueZAdvertisement::objects() const {
    DBusManagedObjects tree;
    tree[path()][QString::fromLatin1(bluez::advertisementInterface)] = properties_;
    return tree;
}

std::optional<QDBusMessage> BlueZAdvertisement::invoke(const QDBusMessage& call) {
    if (call.path() != path().path() || call.interface() != QLatin1String(bluez::advertisementInterface) ||
        call.member() != QLatin1String("Release")) {
        return std::nullopt;
    }
    if (onRelease_) onRelease_();
    return call.createReply();
}

QString BlueZAdvertisement::methodsXml(const QString& path, const QString& interface) const {
    if (path != this->path().path() || interface != QLatin1String(bluez::advertisementInterface)) return {};
    return QStringLiteral("    <method name=\"Release\"/>\n");
}

}  // namespace kelpa::platform
