#pragma once

#include "gui/backends/BlueZObject.h"
#include "platform/bluetooth/MutableService.h"

namespace kelpa::platform {

// One GATT service as BlueZ's GattManager1 reads an application: an object manager at the
// root, the service at <root>/service0 and its characteristics at <root>/service0/char<N>.
// Characteristics answer reads with their fixed value (empty without one), accept
// notification requests (nothing ever changes, so nothing is sent) and refuse writes.
class BlueZGattApplication : public BlueZObject {
    Q_OBJECT
public:
    BlueZGattApplication(QDBusObjectPath root, const MutableService& service);

    QDBusObjectPath servicePath() const;
    QDBusObjectPath characteristicPath(int index) const;
    DBusManagedObjects objects() const override;

protected:
    std::optional<QDBusMessage> invoke(const QDBusMessage& call) override;
    QString methodsXml(const QString& path, const QString& interface) const override;

private:
    const DBusManagedObjects objects_;
};

}  // namespace kelpa::platform
