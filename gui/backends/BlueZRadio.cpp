#include "gui/backends/BlueZRadio.h"

#include "gui/backends/BlueZAdvertisement.h"
#include "gui/backends/BlueZGattApplication.h"
#include "gui/backends/BlueZValues.h"
#include "platform/Log.h"

#include <fmt/format.h>

#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothDeviceInfo>
#include <QBluetoothLocalDevice>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QObject>
#include <QThread>

#include <atomic>
#include <map>
#include <mutex>
#include <optional>

namespace kelpa::platform {

namespace {

constexpr const char* kStopped = "the advertisement was stopped";
constexpr const char* kCannotExport = "cannot export the object for BlueZ on D-Bus";
// Long enough for a busy bluetoothd, short enough not to hang the start of the app.
constexpr int kStartupCallTimeoutMs = 3000;

std::atomic<unsigned> radioSerial{0};

enum class Kind { advertisement, application };

QString registerMethod(Kind kind) {
    return kind == Kind::advertisement ? QStringLiteral("RegisterAdvertisement") : QStringLiteral("RegisterApplication");
}

QString unregisterMethod(Kind kind) {
    return kind == Kind::advertisement ? QStringLiteral("UnregisterAdvertisement")
                                       : QStringLiteral("UnregisterApplication");
}

QString managerInterface(Kind kind) {
    return QString::fromLatin1(kind == Kind::advertisement ? bluez::advertisingManagerInterface
                                                           : bluez::gattManagerInterface);
}

// The service the caller gave, with characteristics of its own: the caller may change its
// copies while the request crosses threads.
MutableService detached(const MutableService& service) {
    MutableService copy = service;
    for (auto& characteristic : copy.characteristics) {
        if (characteristic) characteristic = std::make_shared<MutableCharacteristic>(*characteristic);
    }
    return copy;
}

}  // namespace

struct BlueZRadio::Shared : std::enable_shared_from_this<Shared> {
    struct Client {
        std::shared_ptr<MainQueue> queue;
        StateHandler onState;
        DiscoveryHandler onDiscovery;  // empty while not scanning
        std::uint64_t scanGeneration = 0;
    };

    // An object exported for BlueZ, from the register call until it is withdrawn.
    struct Exported {
        ClientId client = 0;
        Kind kind = Kind::advertisement;
        std::unique_ptr<BlueZObject> object;
        Completion done;
        bool pending = true;      // the register call has not answered
        bool registered = false;  // BlueZ holds it
        // Why it was withdrawn while the register call was out; told to `done` when it answers.
        std::optional<std::string> withdrawn;
    };

    Shared() : base(QStringLiteral("/org/kelpa/bluetooth/radio%1").arg(radioSerial++)) {}

    // --- fixed after construction
    const QString base;
    std::unique_ptr<QObject> context;  // its thread is the Qt thread
    std::optional<QDBusConnection> bus;
    QString service;
    std::optional<QDBusObjectPath> adapterPath;

    // --- under the mutex
    mutable std::mutex mutex;
    ManagerState state = ManagerState::unsupported;
    ClientId nextClient = 1;
    std::map<ClientId, Client> clients;

    // --- on the Qt thread only
    std::unique_ptr<QBluetoothLocalDevice> local;
    std::unique_ptr<QBluetoothDeviceDiscoveryAgent> agent;
    std::map<QString, Exported> exported;
    unsigned nextObject = 1;

    // Runs a task on the client's queue, unless the client has gone by then. Called with the
    // mutex held, so tasks keep the order of the changes they tell.
    void post(ClientId id, const Client& client, std::function<void(Shared&)> task) {
        client.queue->post([weak = weak_from_this(), id, task = std::move(task)] {
            auto self = weak.lock();
            if (!self) return;
            {
                std::lock_guard lock(self->mutex);
                if (!self->clients.count(id)) return;
            }
            task(*self);
        });
    }

    void tell(ClientId id, Completion done, std::optional<std::string> error) {
        if (!done) return;
        std::lock_guard lock(mutex);
        auto it = clients.find(id);
        if (it == clients.end()) return;
        post(id, it->second, [done = std::move(done), error = std::move(error)](Shared&) { done(error); });
    }

    // Runs Qt work on the Qt thread: at once when already there, else queued. Never called with
    // the mutex held, since Qt may call back into the radio from inside the work.
    void onQt(std::function<void(Shared&)> work) {
        if (QThread::currentThread() == context->thread()) {
            work(*this);
            return;
        }
        QMetaObject::invokeMethod(
            context.get(),
            [weak = weak_from_this(), work = std::move(work)] {
                if (auto self = weak.lock()) work(*self);
            },
            Qt::QueuedConnection);
    }

    bool poweredOn() const {
        std::lock_guard lock(mutex);
        return state == ManagerState::poweredOn;
    }

    bool hasClient(ClientId id) const {
        std::lock_guard lock(mutex);
        return clients.count(id) != 0;
    }

    void changeState(ManagerState next) {
        bool leftPoweredOn;
        {
            std::lock_guard lock(mutex);
            if (next == state) return;
            leftPoweredOn = state == ManagerState::poweredOn;
            state = next;
            for (auto& [id, client] : clients) {
                post(id, client, [id, next](Shared& self) {
                    StateHandler handler;
                    {
                        std::lock_guard lock(self.mutex);
                        if (auto it = self.clients.find(id); it != self.clients.end()) handler = it->second.onState;
                    }
                    if (handler) handler(next);
                });
            }
        }
        onQt([leftPoweredOn](Shared& self) {
            if (leftPoweredOn) self.withdrawAll([](const Exported&) { return true; }, notPoweredOn);
            self.updateScan();
        });
    }

    // --- exported objects (Qt thread)

    void send(Kind kind, const QString& method, const QString& path) {
        auto call = QDBusMessage::createMethodCall(service, adapterPath->path(), managerInterface(kind), method);
        call << QVariant::fromValue(QDBusObjectPath(path));
        bus->asyncCall(call);
    }

    void unexport(const QString& path) {
        auto it = exported.find(path);
        if (it == exported.end()) return;
        bus->unregisterObject(path);
        exported.erase(it);
    }

    void withdraw(const QString& path, const std::string& reason) {
        auto it = exported.find(path);
        if (it == exported.end()) return;
        auto& entry = it->second;
        if (entry.pending) {
            // BlueZ may be reading the object right now; the answer of the register call ends it.
            if (!entry.withdrawn) entry.withdrawn = reason;
            return;
        }
        if (entry.registered) send(entry.kind, unregisterMethod(entry.kind), path);
        unexport(path);
    }

    template <class Which>
    void withdrawAll(Which which, const std::string& reason) {
        std::vector<QString> paths;
        for (const auto& [path, entry] : exported) {
            if (which(entry)) paths.push_back(path);
        }
        for (const auto& path : paths) withdraw(path, reason);
    }

    std::optional<std::string> unreachable(Kind kind) const {
        if (!bus || !bus->isConnected() || !adapterPath) {
            return kind == Kind::advertisement ? cannotAdvertise : "BlueZ is not reachable on the system bus";
        }
        return std::nullopt;
    }

    // Exports the object and asks BlueZ to take it; `done` hears BlueZ's answer.
    void expose(ClientId id, Kind kind, std::unique_ptr<BlueZObject> object, Completion done) {
        const QString path = object->path().path();
        if (!bus->registerVirtualObject(path, object.get(), QDBusConnection::SubPath)) {
            log(fmt::format("BlueZRadio: {} at {}", kCannotExport, path.toStdString()));
            tell(id, std::move(done), kCannotExport);
            return;
        }
        auto& entry = exported[path];
        entry.client = id;
        entry.kind = kind;
        entry.object = std::move(object);
        entry.done = std::move(done);
        auto call = QDBusMessage::createMethodCall(service, adapterPath->path(), managerInterface(kind),
                                                   registerMethod(kind));
        call << QVariant::fromValue(QDBusObjectPath(path)) << QVariantMap{};
        auto* watcher = new QDBusPendingCallWatcher(bus->asyncCall(call), context.get());
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context.get(),
                         [weak = weak_from_this(), path](QDBusPendingCallWatcher* finished) {
                             finished->deleteLater();
                             if (auto self = weak.lock()) self->answered(path, finished->error());
                         });
    }

    void answered(const QString& path, const QDBusError& error) {
        auto it = exported.find(path);
        if (it == exported.end()) return;
        auto& entry = it->second;
        entry.pending = false;
        const auto id = entry.client;
        auto done = std::move(entry.done);
        std::optional<std::string> outcome;
        if (error.isValid()) {
            outcome = BlueZValues::errorText(error);
            log("BlueZRadio: BlueZ refused " + path.toStdString() + ": " + *outcome);
            unexport(path);
            if (auto refused = BlueZValues::stateForDBusError(error.name())) changeState(*refused);
        } else if (entry.withdrawn) {
            outcome = entry.withdrawn;
            entry.registered = true;
            withdraw(path, *outcome);
        } else {
            entry.registered = true;
        }
        tell(id, std::move(done), std::move(outcome));
    }

    // BlueZ dropped an advertisement by itself.
    void released(const QString& path) {
        auto it = exported.find(path);
        if (it == exported.end()) return;
        it->second.registered = false;
        if (!it->second.pending) unexport(path);
    }

    void startAdvertising(ClientId id, const RadioAdvertisement& advertisement, Completion done) {
        if (!hasClient(id)) return;
        withdrawAll([id](const Exported& e) { return e.client == id && e.kind == Kind::advertisement; }, kStopped);
        if (!poweredOn()) return tell(id, std::move(done), notPoweredOn);
        if (auto problem = unreachable(Kind::advertisement)) return tell(id, std::move(done), problem);
        const QString path = base + QStringLiteral("/client%1/advertisement%2").arg(id).arg(nextObject++);
        // BlueZ calls Release on Qt D-Bus's thread; the radio hears of it on the Qt thread.
        auto onRelease = [weak = weak_from_this(), path] {
            auto self = weak.lock();
            if (!self) return;
            QMetaObject::invokeMethod(
                self->context.get(),
                [weak, path] {
                    if (auto again = weak.lock()) again->released(path);
                },
                Qt::QueuedConnection);
        };
        expose(id, Kind::advertisement,
               std::make_unique<BlueZAdvertisement>(QDBusObjectPath(path), advertisement, std::move(onRelease)),
               std::move(done));
    }

    void addService(ClientId id, const MutableService& gattService, Completion done) {
        if (!hasClient(id)) return;
        if (!poweredOn()) return tell(id, std::move(done), notPoweredOn);
        if (auto problem = unreachable(Kind::application)) return tell(id, std::move(done), problem);
        const QString path = base + QStringLiteral("/client%1/application%2").arg(id).arg(nextObject++);
        expose(id, Kind::application, std::make_unique<BlueZGattApplication>(QDBusObjectPath(path), gattService),
               std::move(done));
    }

    // --- scanning (Qt thread)

    void updateScan() {
        if (!agent) return;
        bool wanted = false;
        {
            std::lock_guard lock(mutex);
            if (state == ManagerState::poweredOn) {
                for (const auto& [id, client] : clients) wanted = wanted || static_cast<bool>(client.onDiscovery);
            }
        }
        if (wanted && !agent->isActive()) {
            agent->start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod);
        } else if (!wanted && agent->isActive()) {
            agent->stop();
        }
    }

    // Tells the scanners (or the one given) of an advertisement.
    void discovered(const QBluetoothDeviceInfo& device, std::optional<ClientId> only = std::nullopt) {
        if (!(device.coreConfigurations() & QBluetoothDeviceInfo::LowEnergyCoreConfiguration)) return;
        const auto discovery = BlueZValues::discoveryFrom(device);
        std::lock_guard lock(mutex);
        if (state != ManagerState::poweredOn) return;
        for (const auto& [id, client] : clients) {
            if (!client.onDiscovery || (only && *only != id)) continue;
            post(id, client, [id, generation = client.scanGeneration, discovery](Shared& self) {
                DiscoveryHandler handler;
                {
                    std::lock_guard lock(self.mutex);
                    auto it = self.clients.find(id);
                    if (it == self.clients.end() || it->second.scanGeneration != generation ||
                        self.state != ManagerState::poweredOn) {
                        return;
                    }
                    handler = it->second.onDiscovery;
                }
                if (handler) handler(discovery);
            });
        }
    }

    void scanFailed(QBluetoothDeviceDiscoveryAgent::Error error) {
        log("BlueZRadio: scanning failed: " + agent->errorString().toStdString());
        if (auto next = BlueZValues::stateForDiscoveryError(error)) changeState(*next);
    }

    void attachAdapter(const QBluetoothAddress& address) {
        local = std::make_unique<QBluetoothLocalDevice>(address);
        if (!local->isValid()) {
            local.reset();
            return;
        }
        state = BlueZValues::stateFor(true, local->hostMode());
        std::weak_ptr<Shared> weak = weak_from_this();
        QObject::connect(local.get(), &QBluetoothLocalDevice::hostModeStateChanged, context.get(),
                         [weak](QBluetoothLocalDevice::HostMode mode) {
                             if (auto self = weak.lock()) self->changeState(BlueZValues::stateFor(true, mode));
                         });

        agent = std::make_unique<QBluetoothDeviceDiscoveryAgent>(address);
        // Until stopped: the radio's scans have no end of their own.
        agent->setLowEnergyDiscoveryTimeout(0);
        QObject::connect(agent.get(), &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, context.get(),
                         [weak](const QBluetoothDeviceInfo& device) {
                             if (auto self = weak.lock()) self->discovered(device);
                         });
        // Every later advertisement of a known device (its signal strength changes with each).
        QObject::connect(agent.get(), &QBluetoothDeviceDiscoveryAgent::deviceUpdated, context.get(),
                         [weak](const QBluetoothDeviceInfo& device, QBluetoothDeviceInfo::Fields) {
                             if (auto self = weak.lock()) self->discovered(device);
                         });
        QObject::connect(agent.get(), &QBluetoothDeviceDiscoveryAgent::errorOccurred, context.get(),
                         [weak](QBluetoothDeviceDiscoveryAgent::Error error) {
                             if (auto self = weak.lock()) self->scanFailed(error);
                         });
        // BlueZ may end a discovery by itself; a scan lasts until stopped.
        QObject::connect(agent.get(), &QBluetoothDeviceDiscoveryAgent::finished, context.get(),
                         [weak] {
                             auto self = weak.lock();
                             if (!self) return;
                             QMetaObject::invokeMethod(
                                 self->context.get(),
                                 [weak] {
                                     if (auto again = weak.lock()) again->updateScan();
                                 },
                                 Qt::QueuedConnection);
                         });
    }

    void findAdvertisingAdapter(const QBluetoothAddress& address) {
        bus = QDBusConnection::systemBus();
        service = QString::fromLatin1(bluez::service);
        if (!bus->isConnected()) {
            log("BlueZRadio: no system bus; scanning only");
            return;
        }
        auto call = QDBusMessage::createMethodCall(service, QStringLiteral("/"),
                                                   QString::fromLatin1(bluez::objectManagerInterface),
                                                   QStringLiteral("GetManagedObjects"));
        QDBusReply<DBusManagedObjects> reply = bus->call(call, QDBus::Block, kStartupCallTimeoutMs);
        if (!reply.isValid()) {
            log("BlueZRadio: cannot list BlueZ's objects: " + BlueZValues::errorText(reply.error()));
            if (BlueZValues::stateForDBusError(reply.error().name()) == ManagerState::unauthorized) {
                state = ManagerState::unauthorized;
            }
            return;
        }
        adapterPath = BlueZValues::advertisingAdapter(reply.value(), address.toString());
        if (!adapterPath) log("BlueZRadio: the adapter has no LE advertising manager; scanning only");
    }
};

BlueZRadio::BlueZRadio() : shared_(std::make_shared<Shared>()) {
    BlueZValues::registerDBusTypes();
    shared_->context = std::make_unique<QObject>();
    const auto hosts = QBluetoothLocalDevice::allDevices();
    if (!hosts.isEmpty()) shared_->attachAdapter(hosts.first().address());
    if (!shared_->local) {
        log("BlueZRadio: no Bluetooth adapter on this machine; Bluetooth LE is unsupported");
        return;
    }
    shared_->findAdvertisingAdapter(hosts.first().address());
}

BlueZRadio::BlueZRadio(QDBusConnection connection, QString service, QDBusObjectPath adapterPath, ManagerState state)
    : shared_(std::make_shared<Shared>()) {
    BlueZValues::registerDBusTypes();
    shared_->context = std::make_unique<QObject>();
    shared_->bus = std::move(connection);
    shared_->service = std::move(service);
    shared_->adapterPath = std::move(adapterPath);
    shared_->state = state;
}

BlueZRadio::~BlueZRadio() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->clients.clear();
    }
    // Nothing the app exported outlives it: BlueZ forgets what it held, pending or not.
    std::vector<QString> paths;
    for (auto& [path, entry] : shared_->exported) {
        if (entry.registered || entry.pending) shared_->send(entry.kind, unregisterMethod(entry.kind), path);
        paths.push_back(path);
    }
    for (const auto& path : paths) shared_->unexport(path);
    if (shared_->agent) shared_->agent->stop();
    shared_->agent.reset();
    shared_->local.reset();
    shared_->context.reset();
}

bool BlueZRadio::adapterPresent() { return !QBluetoothLocalDevice::allDevices().isEmpty(); }

void BlueZRadio::setState(ManagerState state) { shared_->changeState(state); }

ManagerState BlueZRadio::state() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->state;
}

BluetoothRadio::ClientId BlueZRadio::connect(std::shared_ptr<MainQueue> queue, StateHandler onState) {
    std::lock_guard lock(shared_->mutex);
    const auto id = shared_->nextClient++;
    auto& client = shared_->clients[id];
    client.queue = std::move(queue);
    client.onState = std::move(onState);
    return id;
}

void BlueZRadio::disconnect(ClientId id) {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->clients.erase(id) == 0) return;
    }
    shared_->onQt([id](Shared& self) {
        self.withdrawAll([id](const Shared::Exported& e) { return e.client == id; }, kStopped);
        self.updateScan();
    });
}

void BlueZRadio::addService(ClientId id, const MutableService& service, Completion done) {
    shared_->onQt([id, service = detached(service), done = std::move(done)](Shared& self) mutable {
        self.addService(id, service, std::move(done));
    });
}

void BlueZRadio::startAdvertising(ClientId id, const RadioAdvertisement& advertisement, Completion done) {
    shared_->onQt([id, advertisement, done = std::move(done)](Shared& self) mutable {
        self.startAdvertising(id, advertisement, std::move(done));
    });
}

void BlueZRadio::stopAdvertising(ClientId id) {
    shared_->onQt([id](Shared& self) {
        self.withdrawAll(
            [id](const Shared::Exported& e) { return e.client == id && e.kind == Kind::advertisement; }, kStopped);
    });
}

void BlueZRadio::startScan(ClientId id, DiscoveryHandler onDiscovery) {
    {
        std::lock_guard lock(shared_->mutex);
        auto it = shared_->clients.find(id);
        if (it == shared_->clients.end()) return;
        it->second.onDiscovery = std::move(onDiscovery);
        ++it->second.scanGeneration;
    }
    shared_->onQt([id](Shared& self) {
        // A running discovery tells only of changes; the new scanner hears what it has seen.
        if (self.agent && self.agent->isActive()) {
            for (const auto& device : self.agent->discoveredDevices()) self.discovered(device, id);
        }
        self.updateScan();
    });
}

void BlueZRadio::stopScan(ClientId id) {
    {
        std::lock_guard lock(shared_->mutex);
        auto it = shared_->clients.find(id);
        if (it == shared_->clients.end()) return;
        it->second.onDiscovery = nullptr;
        ++it->second.scanGeneration;
    }
    shared_->onQt([](Shared& self) { self.updateScan(); });
}

}  // namespace kelpa::platform
