#pragma once

#include "gui/backends/BlueZValues.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServer>
#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace kelpa::testing {

class TestEnvironment;

// BlueZ's adapter object, as far as advertising and GATT go, on a private peer-to-peer D-Bus
// connection. It reads what the app registers the way bluetoothd does (Properties.GetAll of an
// advertisement, ObjectManager.GetManagedObjects of an application) before it answers, and
// keeps what it read.
class FakeBlueZ {
public:
    static constexpr const char* adapterPath = "/org/bluez/hci0";

    struct Call {
        QString member;
        QString path;  // the object registered or unregistered
    };

    FakeBlueZ();
    ~FakeBlueZ();

    // The app's end of the connection, once the fake has accepted it.
    QDBusConnection connect(TestEnvironment& t);

    // The calls on the adapter so far, in order.
    std::vector<Call> calls() const;
    std::vector<QString> members() const;

    // Register calls answer with this error (none: accepted).
    void refuseWith(std::optional<std::pair<QString, QString>> error) { refusal_ = std::move(error); }
    // Register calls wait for answerHeld() after reading the object.
    void holdAnswers(bool hold) { hold_ = hold; }
    void answerHeld();
    size_t heldCount() const { return held_.size(); }

    // What was read of each registered object, by path.
    const std::map<QString, QVariantMap>& advertisements() const { return advertisements_; }
    const std::map<QString, platform::DBusManagedObjects>& applications() const { return applications_; }

    // A call on the app's objects, answered while Qt runs.
    QDBusMessage callApp(TestEnvironment& t, const QString& path, const QString& interface, const QString& member,
                         const QVariantList& arguments = {});

private:
    class Adapter;

    void received(const QDBusMessage& call);
    void read(const QDBusMessage& call);
    void answer(const QDBusMessage& call);

    QDBusServer server_;
    QString connectionName_;
    std::optional<QDBusConnection> bluez_;
    std::unique_ptr<QObject> context_;
    std::unique_ptr<Adapter> adapter_;

    mutable std::mutex mutex_;  // the calls arrive on Qt D-Bus's thread
    std::vector<Call> calls_;

    std::optional<std::pair<QString, QString>> refusal_;
    bool hold_ = false;
    std::vector<QDBusMessage> held_;
    std::map<QString, QVariantMap> advertisements_;
    std::map<QString, platform::DBusManagedObjects> applications_;
};

}  // namespace kelpa::testing
