#pragma once

#include "gui/backends/BlueZValues.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QString>

#include <optional>

namespace kelpa::platform {

// An object tree the app exports for BlueZ to read: a root path and objects under it, each
// with interfaces and fixed properties. Qt D-Bus may call it on its own thread, so a tree never
// changes after construction; the properties, Properties.Get/GetAll and introspection come from
// objects(), and a subclass answers its interfaces' methods.
class BlueZObject : public QDBusVirtualObject {
    Q_OBJECT
public:
    explicit BlueZObject(QDBusObjectPath root);

    const QDBusObjectPath& path() const { return root_; }

    // Every object of the tree (the root included when it has interfaces of its own) with its
    // interfaces and their properties.
    virtual DBusManagedObjects objects() const = 0;

    // The reply to a call on the tree: what handleMessage sends. None for the calls Qt answers
    // itself (introspection, ping).
    std::optional<QDBusMessage> answer(const QDBusMessage& call);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

protected:
    // A call of a method of the subclass's interfaces; none when there is no such method.
    virtual std::optional<QDBusMessage> invoke(const QDBusMessage& call) = 0;
    // The <method> elements of one interface at one path, for introspection.
    virtual QString methodsXml(const QString& path, const QString& interface) const = 0;
    // Names of the objects directly under a path, for introspection.
    QStringList childrenOf(const QString& path) const;

private:
    std::optional<QDBusMessage> properties(const QDBusMessage& call) const;

    const QDBusObjectPath root_;
};

}  // namespace kelpa::platform
