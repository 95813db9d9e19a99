#include "FakeBlueZ.h"

#include "QtTestApplication.h"
#include "TestEnvironment.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVirtualObject>

#include <atomic>

namespace kelpa::testing {

namespace {
std::atomic<int> connectionSerial{0};
}

// Takes the manager calls on the adapter's path; Qt D-Bus may deliver them on its own thread.
class FakeBlueZ::Adapter : public QDBusVirtualObject {
public:
    explicit Adapter(FakeBlueZ& fake) : fake_(fake) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
        if (message.type() != QDBusMessage::MethodCallMessage) return false;
        if (message.interface() != QLatin1String(platform::bluez::advertisingManagerInterface) &&
            message.interface() != QLatin1String(platform::bluez::gattManagerInterface)) {
            return false;
        }
        fake_.received(message);
        return true;
    }

private:
    FakeBlueZ& fake_;
};

FakeBlueZ::FakeBlueZ()
    : server_(QStringLiteral("unix:tmpdir=/tmp")),
      connectionName_(QStringLiteral("kelpa-fake-bluez-%1").arg(connectionSerial++)),
      context_(std::make_unique<QObject>()),
      adapter_(std::make_unique<Adapter>(*this)) {
    platform::BlueZValues::registerDBusTypes();
    QObject::connect(&server_, &QDBusServer::newConnection, context_.get(), [this](const QDBusConnection& connection) {
        bluez_ = connection;
        bluez_->registerVirtualObject(QString::fromLatin1(adapterPath), adapter_.get(), QDBusConnection::SingleNode);
    });
}

FakeBlueZ::~FakeBlueZ() {
    if (bluez_) {
        bluez_->unregisterObject(QString::fromLatin1(adapterPath));
        QDBusConnection::disconnectFromPeer(bluez_->name());
    }
    QDBusConnection::disconnectFromPeer(connectionName_);
}

QDBusConnection FakeBlueZ::connect(TestEnvironment& t) {
    auto connection = QDBusConnection::connectToPeer(server_.address(), connectionName_);
    pumpUntil(t, [this] { return bluez_.has_value(); });
    return connection;
}

std::vector<FakeBlueZ::Call> FakeBlueZ::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<QString> FakeBlueZ::members() const {
    std::vector<QString> out;
    for (const auto& call : calls()) out.push_back(call.member);
    return out;
}

void FakeBlueZ::received(const QDBusMessage& call) {
    const auto arguments = call.arguments();
    const QString path = arguments.isEmpty() ? QString() : arguments.at(0).value<QDBusObjectPath>().path();
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(Call{call.member(), path});
    }
    QMetaObject::invokeMethod(
        context_.get(),
        [this, call] {
            if (call.member().startsWith(QLatin1String("Register"))) {
                read(call);
            } else {
                bluez_->send(call.createReply());
            }
        },
        Qt::QueuedConnection);
}

void FakeBlueZ::read(const QDBusMessage& call) {
    const QString path = call.arguments().at(0).value<QDBusObjectPath>().path();
    const bool advertisement = call.interface() == QLatin1String(platform::bluez::advertisingManagerInterface);
    auto request = advertisement
                       ? QDBusMessage::createMethodCall(QString(), path, QString::fromLatin1(platform::bluez::propertiesInterface),
                                                        QStringLiteral("GetAll"))
                             << QString::fromLatin1(platform::bluez::advertisementInterface)
                       : QDBusMessage::createMethodCall(QString(), path,
                                                        QString::fromLatin1(platform::bluez::objectManagerInterface),
                                                        QStringLiteral("GetManagedObjects"));
    auto* watcher = new QDBusPendingCallWatcher(bluez_->asyncCall(request), context_.get());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context_.get(),
                     [this, call, path, advertisement](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         if (finished->isError()) {
                             bluez_->send(call.createErrorReply(QStringLiteral("org.bluez.Error.Failed"),
                                                                QStringLiteral("Failed to read the object")));
                             return;
                         }
                         if (advertisement) {
                             advertisements_[path] = QDBusPendingReply<QVariantMap>(*finished).value();
                         } else {
                             applications_[path] = QDBusPendingReply<platform::DBusManagedObjects>(*finished).value();
                         }
                         answer(call);
                     });
}

void FakeBlueZ::answer(const QDBusMessage& call) {
    if (refusal_) {
        bluez_->send(call.createErrorReply(refusal_->first, refusal_->second));
    } else if (hold_) {
        held_.push_back(call);
    } else {
        bluez_->send(call.createReply());
    }
}

void FakeBlueZ::answerHeld() {
    for (const auto& call : held_) bluez_->send(call.createReply());
    held_.clear();
}

QDBusMessage FakeBlueZ::callApp(TestEnvironment& t, const QString& path, const QString& interface,
                                const QString& member, const QVariantList& arguments) {
    auto request = QDBusMessage::createMethodCall(QString(), path, interface, member);
    request.setArguments(arguments);
    QDBusPendingCallWatcher watcher(bluez_->asyncCall(request));
    pumpUntil(t, [&] { return watcher.isFinished(); });
    return watcher.reply();
}

}  // namespace kelpa::testing
