#pragma once

#include "gui/backends/BlueZObject.h"
#include "platform/bluetooth/RadioAdvertisement.h"

#include <functional>

namespace kelpa::platform {

// One advertisement as BlueZ's LEAdvertisingManager1 reads it: an org.bluez.LEAdvertisement1
// object of type "peripheral" (connectable), marked general discoverable so that BlueZ
// scanners keep it, with the service UUIDs and the local name (BlueZ moves the name to the scan
// response when the advertisement is full, and shortens it when even that is too small).
class BlueZAdvertisement : public BlueZObject {
    Q_OBJECT
public:
    // Runs when BlueZ drops the advertisement by itself; on Qt D-Bus's thread.
    using ReleaseHandler = std::function<void()>;

    BlueZAdvertisement(QDBusObjectPath path, const RadioAdvertisement& advertisement, ReleaseHandler onRelease);

    QVariantMap properties() const { return properties_; }
    DBusManagedObjects objects() const override;

protected:
    std::optional<QDBusMessage> invoke(const QDBusMessage& call) override;
    QString methodsXml(const QString& path, const QString& interface) const override;

private:
    const QVariantMap properties_;
    const ReleaseHandler onRelease_;
};

}  // namespace kelpa::platform
